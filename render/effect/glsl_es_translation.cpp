#include "render/effect/glsl_es_translation.h"

#include <cctype>
#include <cstdlib>
#include <map>
#include <set>
#include <string_view>
#include <vector>

#include "render/effect/tokenizer.h"

namespace render {

namespace {

constexpr unsigned GL_NEVER_VALUE = 0x0200;  // the compare functions run from here to ALWAYS (0x0207)
constexpr int FRAGMENT_OUTPUTS = 4;          // the least that GLSL ES 3.00 guarantees
constexpr const char* PREFIX_OF_RENAMED = "torvane_user_";

// Built in only in GLSL ES 3.00: in GLSL 1.20 code these are the author's own names.
const std::set<std::string_view> ES_ONLY_NAMES = {
    "texture", "textureLod", "textureProj", "textureProjLod", "textureGrad", "textureProjGrad", "textureOffset",
    "textureLodOffset", "textureProjOffset", "textureProjLodOffset", "textureGradOffset", "textureProjGradOffset",
    "textureSize", "texelFetch", "texelFetchOffset", "layout", "flat", "smooth", "uint", "uvec2", "uvec3", "uvec4",
    "lowp", "mediump", "highp", "sampler2DArray", "sampler2DArrayShadow", "samplerCubeShadow", "isampler2D",
    "isampler3D", "isamplerCube", "isampler2DArray", "usampler2D", "usampler3D", "usamplerCube", "usampler2DArray",
    "round", "roundEven", "trunc", "modf", "isnan", "isinf", "sinh", "cosh", "tanh", "asinh", "acosh", "atanh",
    "inverse", "determinant", "floatBitsToInt", "floatBitsToUint", "intBitsToFloat", "uintBitsToFloat",
    "packSnorm2x16", "unpackSnorm2x16", "packUnorm2x16", "unpackUnorm2x16", "packHalf2x16", "unpackHalf2x16",
    // Reserved in GLSL ES 3.00, free in GLSL 1.20.
    "coherent", "restrict", "readonly", "writeonly", "resource", "atomic_uint", "noperspective", "patch", "sample",
    "subroutine", "common", "partition", "active", "filter", "superp", "image1D", "image2D", "image3D", "imageCube",
    "iimage2D", "uimage2D", "imageBuffer", "sampler1DArray", "sampler2DMS", "samplerBuffer", "isampler1D",
    "usampler1D",
};

// Fixed-function state that only a uniform of the effect can stand for.
const std::set<std::string_view> NO_COUNTERPART = {
    "gl_LightSource", "gl_LightModel", "gl_FrontLightModelProduct", "gl_BackLightModelProduct",
    "gl_FrontLightProduct", "gl_BackLightProduct", "gl_FrontMaterial", "gl_BackMaterial", "gl_Fog", "gl_FogCoord",
    "gl_FogFragCoord", "gl_Point", "gl_ClipPlane", "gl_EyePlaneS", "gl_EyePlaneT", "gl_EyePlaneR", "gl_EyePlaneQ",
    "gl_ObjectPlaneS", "gl_ObjectPlaneT", "gl_ObjectPlaneR", "gl_ObjectPlaneQ", "gl_TextureEnvColor",
    "gl_SecondaryColor", "gl_BackColor", "gl_FrontSecondaryColor", "gl_BackSecondaryColor", "texture1D",
    "texture1DProj", "texture1DLod", "texture1DProjLod", "shadow1D", "shadow1DProj", "shadow1DLod",
    "shadow1DProjLod", "sampler1D", "sampler1DShadow",
};

// A built-in name, what it becomes, and the declaration that comes with it (empty: none).
struct Replacement {
  std::string_view name;
  std::string_view glslEs;
  std::string_view declaration;
};

const Replacement MATRICES[] = {
    {"gl_ModelViewMatrix", "torvane_ModelViewMatrix", "uniform mat4 torvane_ModelViewMatrix;"},
    {"gl_ProjectionMatrix", "torvane_ProjectionMatrix", "uniform mat4 torvane_ProjectionMatrix;"},
    {"gl_ModelViewProjectionMatrix", "torvane_ModelViewProjectionMatrix",
     "uniform mat4 torvane_ModelViewProjectionMatrix;"},
    {"gl_NormalMatrix", "torvane_NormalMatrix", "uniform mat3 torvane_NormalMatrix;"},
    {"gl_TextureMatrix", "torvane_TextureMatrix", "uniform mat4 torvane_TextureMatrix[8];"},
    {"gl_ModelViewMatrixInverse", "inverse(torvane_ModelViewMatrix)", "uniform mat4 torvane_ModelViewMatrix;"},
    {"gl_ProjectionMatrixInverse", "inverse(torvane_ProjectionMatrix)", "uniform mat4 torvane_ProjectionMatrix;"},
    {"gl_ModelViewProjectionMatrixInverse", "inverse(torvane_ModelViewProjectionMatrix)",
     "uniform mat4 torvane_ModelViewProjectionMatrix;"},
    {"gl_ModelViewMatrixTranspose", "transpose(torvane_ModelViewMatrix)", "uniform mat4 torvane_ModelViewMatrix;"},
    {"gl_ProjectionMatrixTranspose", "transpose(torvane_ProjectionMatrix)", "uniform mat4 torvane_ProjectionMatrix;"},
    {"gl_ModelViewProjectionMatrixTranspose", "transpose(torvane_ModelViewProjectionMatrix)",
     "uniform mat4 torvane_ModelViewProjectionMatrix;"},
    {"gl_ModelViewMatrixInverseTranspose", "transpose(inverse(torvane_ModelViewMatrix))",
     "uniform mat4 torvane_ModelViewMatrix;"},
    {"gl_ProjectionMatrixInverseTranspose", "transpose(inverse(torvane_ProjectionMatrix))",
     "uniform mat4 torvane_ProjectionMatrix;"},
    {"gl_ModelViewProjectionMatrixInverseTranspose", "transpose(inverse(torvane_ModelViewProjectionMatrix))",
     "uniform mat4 torvane_ModelViewProjectionMatrix;"},
};

// GLSL 1.20's texture functions by their GLSL ES 3.00 names; the shadow ones return a vec4 there.
const Replacement TEXTURE_FUNCTIONS[] = {
    {"texture2D", "texture", ""},
    {"texture2DLod", "textureLod", ""},
    {"texture2DProj", "textureProj", ""},
    {"texture2DProjLod", "textureProjLod", ""},
    {"texture3D", "texture", ""},
    {"texture3DLod", "textureLod", ""},
    {"texture3DProj", "textureProj", ""},
    {"texture3DProjLod", "textureProjLod", ""},
    {"textureCube", "texture", ""},
    {"textureCubeLod", "textureLod", ""},
    {"shadow2D", "torvane_shadow2D",
     "vec4 torvane_shadow2D(sampler2DShadow s, vec3 c) { return vec4(texture(s, c)); }"},
    {"shadow2DProj", "torvane_shadow2DProj",
     "vec4 torvane_shadow2DProj(sampler2DShadow s, vec4 c) { return vec4(textureProj(s, c)); }"},
};

const Replacement VERTEX_ONLY[] = {
    {"gl_Vertex", "torvane_Vertex", "in vec4 torvane_Vertex;"},
    {"gl_Normal", "torvane_Normal", "in vec3 torvane_Normal;"},
    {"gl_Color", "torvane_Color", "in vec4 torvane_Color;"},
    {"gl_MultiTexCoord0", "torvane_MultiTexCoord0", "in vec4 torvane_MultiTexCoord0;"},
    {"gl_MultiTexCoord1", "torvane_MultiTexCoord1", "in vec4 torvane_MultiTexCoord1;"},
    {"gl_MultiTexCoord2", "torvane_MultiTexCoord2", "in vec4 torvane_MultiTexCoord2;"},
    {"gl_MultiTexCoord3", "torvane_MultiTexCoord3", "in vec4 torvane_MultiTexCoord3;"},
    {"gl_MultiTexCoord4", "torvane_MultiTexCoord4", "in vec4 torvane_MultiTexCoord4;"},
    {"gl_MultiTexCoord5", "torvane_MultiTexCoord5", "in vec4 torvane_MultiTexCoord5;"},
    {"gl_MultiTexCoord6", "torvane_MultiTexCoord6", "in vec4 torvane_MultiTexCoord6;"},
    {"gl_MultiTexCoord7", "torvane_MultiTexCoord7", "in vec4 torvane_MultiTexCoord7;"},
    {"gl_FrontColor", "torvane_FrontColor", "out vec4 torvane_FrontColor;"},
    {"gl_TexCoord", "torvane_TexCoord", "out vec4 torvane_TexCoord[8];"},
    // Clipping planes are not in GLSL ES; what a shader writes there has nowhere to go.
    {"gl_ClipVertex", "torvane_ClipVertex", "vec4 torvane_ClipVertex;"},
    {"ftransform", "torvane_ftransform",
     "in vec4 torvane_Vertex;\nuniform mat4 torvane_ModelViewProjectionMatrix;\n"
     "vec4 torvane_ftransform() { return torvane_ModelViewProjectionMatrix * torvane_Vertex; }"},
    {"varying", "out", ""},
    {"attribute", "in", ""},
};

const Replacement FRAGMENT_ONLY[] = {
    {"gl_Color", "torvane_FrontColor", "in vec4 torvane_FrontColor;"},
    {"gl_TexCoord", "torvane_TexCoord", "in vec4 torvane_TexCoord[8];"},
    {"gl_FragColor", "torvane_FragColor", "layout(location = 0) out vec4 torvane_FragColor;"},
    {"gl_FragData", "torvane_FragData", "layout(location = 0) out vec4 torvane_FragData[4];"},
    {"varying", "in", ""},
};

const char ALPHA_TEST[] =
    "uniform int torvane_AlphaFunc;\n"
    "uniform float torvane_AlphaReference;\n"
    "void torvane_AlphaTest(float alpha) {\n"
    "  float a = clamp(alpha, 0.0, 1.0);\n"
    "  float r = torvane_AlphaReference;\n"
    "  int f = torvane_AlphaFunc;\n"
    "  if (f == 1 || (f == 2 && !(a < r)) || (f == 3 && a != r) || (f == 4 && !(a <= r)) ||\n"
    "      (f == 5 && !(a > r)) || (f == 6 && a == r) || (f == 7 && !(a >= r))) discard;\n"
    "}\n";

const Replacement* FindIn(const Replacement* table, size_t count, std::string_view name) {
  for (size_t i = 0; i < count; ++i) {
    if (table[i].name == name) return &table[i];
  }
  return nullptr;
}

template <size_t N>
const Replacement* FindIn(const Replacement (&table)[N], std::string_view name) {
  return FindIn(table, N, name);
}

// Walks the stage's tokens and writes the translated code, collecting the declarations that the
// names it met need.
class Translator {
 public:
  Translator(const std::string& glsl, EffectStage stage) : mGlsl(glsl), mStage(stage) {}

  bool Run(std::string& es, EsTranslationError& error) {
    std::vector<EffectMessage> problems;
    const std::vector<EffectToken> tokens = TokenizeEffect(mGlsl, problems);
    std::string body;
    size_t copied = 0;
    for (const EffectToken& token : tokens) {
      body.append(mGlsl, copied, token.begin - copied);
      copied = token.end;
      const std::string_view text(mGlsl.data() + token.begin, token.end - token.begin);
      if (token.kind == EffectToken::Directive) {
        if (!Directive(text, token.line, body, error)) return false;
      } else if (token.kind == EffectToken::Identifier) {
        if (!Identifier(text, EffectLine(token.line), body, error)) return false;
      } else {
        body += text;
      }
    }
    body.append(mGlsl, copied, std::string::npos);
    es = Header() + body + Footer();
    return true;
  }

 private:
  int EffectLine(int stageLine) const { return mLineBase + stageLine; }

  bool Directive(std::string_view text, int stageLine, std::string& out, EsTranslationError& error) {
    size_t p = 1;
    while (p < text.size() && (text[p] == ' ' || text[p] == '\t')) ++p;
    size_t nameEnd = p;
    while (nameEnd < text.size() && std::isalpha(static_cast<unsigned char>(text[nameEnd]))) ++nameEnd;
    const std::string_view name = text.substr(p, nameEnd - p);
    if (name == "version") return true;
    if (name == "line") {
      // GLSL 1.20 numbers the line after "#line N" as N + 1, GLSL ES 3.00 as N.
      const int number = std::atoi(std::string(text.substr(nameEnd)).c_str());
      mLineBase = number - stageLine;
      out += "#line " + std::to_string(number + 1);
      return true;
    }
    out.append(text.substr(0, nameEnd));
    return TranslateWords(text.substr(nameEnd), EffectLine(stageLine), out, error);
  }

  // The identifiers of a directive's rest, as in the code: a macro's body is code.
  bool TranslateWords(std::string_view text, int line, std::string& out, EsTranslationError& error) {
    for (size_t i = 0; i < text.size();) {
      const unsigned char c = static_cast<unsigned char>(text[i]);
      if (std::isalpha(c) || c == '_') {
        size_t end = i;
        while (end < text.size() && (std::isalnum(static_cast<unsigned char>(text[end])) || text[end] == '_')) ++end;
        if (!Identifier(text.substr(i, end - i), line, out, error)) return false;
        i = end;
      } else if (std::isdigit(c) || c == '.') {
        size_t end = i;
        while (end < text.size() && (std::isalnum(static_cast<unsigned char>(text[end])) || text[end] == '.')) ++end;
        out.append(text.substr(i, end - i));
        i = end;
      } else {
        out += text[i++];
      }
    }
    return true;
  }

  bool Identifier(std::string_view name, int line, std::string& out, EsTranslationError& error) {
    if (NO_COUNTERPART.count(name)) {
      error = {line, "'" + std::string(name) + "' has no counterpart in GLSL ES 3.00 (WebGL 2): pass the value as a "
                     "parameter of the effect"};
      return false;
    }
    if (ES_ONLY_NAMES.count(name) || name == "main") {
      out += std::string(PREFIX_OF_RENAMED) + std::string(name);
      return true;
    }
    const Replacement* replacement =
        mStage == EffectStage::Vertex ? FindIn(VERTEX_ONLY, name) : FindIn(FRAGMENT_ONLY, name);
    if (!replacement) replacement = FindIn(MATRICES, name);
    if (!replacement) replacement = FindIn(TEXTURE_FUNCTIONS, name);
    if (!replacement) {
      out.append(name);
      return true;
    }
    out.append(replacement->glslEs);
    if (!replacement->declaration.empty()) Declare(replacement->declaration);
    if (name == "gl_FragColor") mColourOutput = "torvane_FragColor";
    if (name == "gl_FragData") mColourOutput = "torvane_FragData[0]";
    return true;
  }

  // Each declaration once, in the order first needed, a line at a time (ftransform brings three).
  void Declare(std::string_view declaration) {
    size_t start = 0;
    while (start < declaration.size()) {
      size_t end = declaration.find('\n', start);
      if (end == std::string_view::npos) end = declaration.size();
      const std::string line(declaration.substr(start, end - start));
      if (mDeclared.insert(line).second) mDeclarations += line + "\n";
      start = end + 1;
    }
  }

  std::string Header() const {
    std::string header = "#version 300 es\n";
    header += "precision highp float;\nprecision highp int;\n";
    // GLSL ES leaves 2D and cube samplers low precision: a texel would come back short of the
    // bits GLSL 1.20 reads, which exponents (RGBE), grain and hashes magnify.
    header += "precision highp sampler2D;\nprecision highp samplerCube;\n";
    header += "precision highp sampler3D;\nprecision highp sampler2DShadow;\n";
    header += "#define TORVANE_GLSL_ES 1\n";
    header += mDeclarations;
    if (mStage == EffectStage::Fragment && !mColourOutput.empty()) header += ALPHA_TEST;
    return header;
  }

  std::string Footer() const {
    std::string footer = "void main() { torvane_user_main(); ";
    if (mStage == EffectStage::Fragment && !mColourOutput.empty()) {
      footer += "torvane_AlphaTest(" + mColourOutput + ".a); ";
    }
    return footer + "}\n";
  }

  const std::string& mGlsl;
  EffectStage mStage;
  int mLineBase = 0;
  std::set<std::string> mDeclared;
  std::string mDeclarations;
  std::string mColourOutput;  // what the alpha test reads; empty when the stage writes no colour
};

}  // namespace

std::string EsAttributeName(EsAttribute attribute, int texCoordSet) {
  switch (attribute) {
    case ES_ATTRIBUTE_VERTEX: return "torvane_Vertex";
    case ES_ATTRIBUTE_NORMAL: return "torvane_Normal";
    case ES_ATTRIBUTE_COLOR: return "torvane_Color";
    default: return "torvane_MultiTexCoord" + std::to_string(texCoordSet);
  }
}

int EsAlphaFunction(bool enabled, unsigned compareFunction) {
  if (!enabled || compareFunction < GL_NEVER_VALUE || compareFunction > GL_NEVER_VALUE + 7) return 0;
  return static_cast<int>(compareFunction - GL_NEVER_VALUE) + 1;
}

bool TranslateToGlslEs(const std::string& glsl, EffectStage stage, std::string& es, EsTranslationError& error) {
  return Translator(glsl, stage).Run(es, error);
}

std::string GlslEsName(const std::string& path) {
  std::string name;
  for (size_t i = 0; i < path.size();) {
    if (std::isalpha(static_cast<unsigned char>(path[i])) || path[i] == '_') {
      size_t end = i;
      while (end < path.size() && (std::isalnum(static_cast<unsigned char>(path[end])) || path[end] == '_')) ++end;
      const std::string word = path.substr(i, end - i);
      name += ES_ONLY_NAMES.count(word) ? PREFIX_OF_RENAMED + word : word;
      i = end;
    } else {
      name += path[i++];
    }
  }
  return name;
}

void BlankUniformInitialisers(EffectSource& source) {
  for (const EffectVariable& uniform : source.uniforms) {
    for (size_t p = uniform.initialiserBegin; p < uniform.initialiserEnd && p < source.code.size(); ++p) {
      if (source.code[p] != '\n') source.code[p] = ' ';
    }
  }
}

}  // namespace render
