#include <GL/glew.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "render/effect/parameter_list.h"
#include "render/effect/parser.h"
#include "render/effect/stage_source.h"
#include "render/effect/states.h"

namespace {

const char EFFECT[] = R"(// a lit effect
#version 120
uniform mat4 shWorldMat : WORLDVIEW;
uniform vec4 shKd : DIFFUSE = vec4(1.0, 0.5, 0.25, 1.0), shKs;
uniform sampler2D shBaseTexture = sampler_state {
  MinFilter = Linear; MagFilter = GL_NEAREST;
  WrapS = ClampToEdge; WrapT = repeat;
};
attribute vec3 tangent;
varying vec2 uv;

vec4 shade() { return texture2D(shBaseTexture, uv) * shKd; }

void vsMain() { uv = gl_MultiTexCoord0.xy; gl_Position = shWorldMat * gl_Vertex + vec4(tangent, 0.0); }
void fsMain() { gl_FragColor = shade(); }

technique Main {
  pass Base {
    VertexProgram = compile glslv vsMain();
    FragmentProgram = fsMain;
    BlendEnable = true;
    BlendFunc = int2(SrcAlpha, OneMinusSrcAlpha);
    DepthFunc = GL_LEQUAL;
  }
}
)";

int CountLines(const std::string& text) { return static_cast<int>(std::count(text.begin(), text.end(), '\n')); }

TEST(EffectParser, ReadsDeclarationsTechniquesAndStates) {
  EffectSource source;
  ASSERT_TRUE(ParseEffect(EFFECT, source)) << source.errors[0].line << ": " << source.errors[0].text;

  ASSERT_EQ(source.uniforms.size(), 4u);
  EXPECT_EQ(source.uniforms[0].name, "shWorldMat");
  EXPECT_EQ(source.uniforms[0].semantic, "WORLDVIEW");
  EXPECT_EQ(source.uniforms[1].semantic, "DIFFUSE");
  EXPECT_EQ(source.uniforms[2].name, "shKs");
  EXPECT_EQ(source.uniforms[2].type, "vec4");
  EXPECT_EQ(source.uniforms[2].semantic, "");
  const auto& sampler = source.uniforms[3].samplerStates;
  ASSERT_EQ(sampler.size(), 4u);
  EXPECT_EQ(sampler[0].state, SAMPLER_MIN_FILTER);
  EXPECT_EQ(sampler[0].values[0], GL_LINEAR);
  EXPECT_EQ(sampler[1].values[0], GL_NEAREST);
  EXPECT_EQ(sampler[2].values[0], GL_CLAMP_TO_EDGE);
  EXPECT_EQ(sampler[3].values[0], GL_REPEAT);

  ASSERT_EQ(source.techniques.size(), 1u);
  const EffectTechnique& technique = source.techniques[0];
  EXPECT_TRUE(technique.errors.empty());
  ASSERT_EQ(technique.passes.size(), 1u);
  const EffectPass& pass = technique.passes[0];
  EXPECT_EQ(pass.name, "Base");
  EXPECT_EQ(pass.vertexEntry, "vsMain");
  EXPECT_EQ(pass.fragmentEntry, "fsMain");
  ASSERT_EQ(pass.states.size(), 3u);
  EXPECT_EQ(pass.states[0].state, STATE_BLEND_ENABLE);
  EXPECT_EQ(pass.states[0].values[0], 1.0f);
  EXPECT_EQ(pass.states[1].values[0], GL_SRC_ALPHA);
  EXPECT_EQ(pass.states[1].values[1], GL_ONE_MINUS_SRC_ALPHA);
  EXPECT_EQ(pass.states[2].values[0], GL_LEQUAL);
  EXPECT_EQ(pass.states[2].line, 23);

  // What is not GLSL is blanked in place, so every line keeps its number.
  EXPECT_EQ(CountLines(source.code), CountLines(EFFECT));
  EXPECT_EQ(source.code.find("WORLDVIEW"), std::string::npos);
  EXPECT_EQ(source.code.find("sampler_state"), std::string::npos);
  EXPECT_EQ(source.code.find("technique"), std::string::npos);
  EXPECT_EQ(source.code.find("#version"), std::string::npos);
  EXPECT_NE(source.code.find("uniform vec4 shKd " + std::string(9, ' ') + " = vec4(1.0, 0.5, 0.25, 1.0), shKs;"),
            std::string::npos);
}

TEST(EffectParser, ProblemsInsideATechniqueRuleOutOnlyThatTechnique) {
  EffectSource source;
  ASSERT_TRUE(ParseEffect(R"(void v() {} void f() {}
technique Fancy { pass { VertexProgram = v; FragmentProgram = f; Sparkle = true; DepthFunc = One; } }
technique Half { pass P { VertexProgram = v; } }
technique Empty { }
technique Plain { pass { VertexProgram = v; FragmentProgram = f; ColorMask = true, false, true; } }
)",
                          source));
  ASSERT_EQ(source.techniques.size(), 4u);
  const auto& fancy = source.techniques[0].errors;
  ASSERT_EQ(fancy.size(), 2u);
  EXPECT_EQ(fancy[0].text, "unknown render state 'Sparkle'");
  EXPECT_EQ(fancy[0].line, 2);
  EXPECT_EQ(fancy[1].text, "'One' is not a value for DepthFunc");
  ASSERT_EQ(source.techniques[1].errors.size(), 1u);
  EXPECT_EQ(source.techniques[1].errors[0].text, "pass 'P' has no FragmentProgram");
  EXPECT_EQ(source.techniques[2].errors.size(), 1u);
  ASSERT_EQ(source.techniques[3].errors.size(), 1u);
  EXPECT_EQ(source.techniques[3].errors[0].text, "ColorMask takes 4 values");
  EXPECT_EQ(source.techniques[3].passes[0].name, "pass0");
}

TEST(EffectParser, SyntaxErrorsNameTheirLine) {
  const struct {
    const char* text;
    int line;
    const char* message;
  } cases[] = {
      {"void f() {\n  if (x) {\n}\n", 1, "unclosed bracket"},
      {"uniform vec4 a;\n/* never closed", 2, "unterminated comment"},
      {"uniform vec4 a[0];", 1, "the size of array 'a' must be a number from 1 to 1024"},
      {"uniform vec4 a[N];", 1, "the size of array 'a' must be a number from 1 to 1024"},
      {"\n\nvec4 x = vec4(1.0))", 3, "unexpected ')'"},
      {"uniform vec4 a : ;", 1, "expected a semantic after ':'"},
      {"uniform sampler2D s = sampler_state { Wobble = 1; };", 1, "unknown sampler state 'Wobble'"},
      {"technique T { pass P { VertexProgram = v; }", 1, "unclosed bracket"},
      {"uniform vec4 a", 1, "declaration without ';'"},
  };
  for (const auto& c : cases) {
    EffectSource source;
    EXPECT_FALSE(ParseEffect(c.text, source)) << c.text;
    ASSERT_FALSE(source.errors.empty()) << c.text;
    EXPECT_EQ(source.errors[0].line, c.line) << c.text;
    EXPECT_EQ(source.errors[0].text, c.message) << c.text;
  }
}

TEST(EffectParser, ReadsFilesWithAByteOrderMarkAndWindowsLineEnds) {
  EffectSource source;
  ASSERT_TRUE(ParseEffect("\xEF\xBB\xBFuniform vec4 a : A;\r\n#define TWICE(x) \\\r\n  ((x) * 2.0)\r\n"
                          "uniform vec4 b : B;\r\n",
                          source));
  EXPECT_EQ(source.code.rfind("   uniform vec4 a    ;", 0), 0u);
  ASSERT_EQ(source.uniforms.size(), 2u);
  EXPECT_EQ(source.uniforms[1].line, 4);
  ASSERT_EQ(source.chunks.size(), 3u);
  EXPECT_EQ(source.chunks[1].kind, EffectChunk::Directive);
}

TEST(EffectStageSource, EachStageGetsOnlyTheFunctionsItsEntryReaches) {
  EffectSource source;
  ASSERT_TRUE(ParseEffect(EFFECT, source));
  std::string vertex;
  std::string fragment;
  std::string error;
  ASSERT_TRUE(BuildStageSource(source, EffectStage::Vertex, "vsMain", vertex, error));
  ASSERT_TRUE(BuildStageSource(source, EffectStage::Fragment, "fsMain", fragment, error));

  EXPECT_EQ(vertex.rfind("#version 120\n#define TORVANE_VERTEX 1\n", 0), 0u);
  EXPECT_EQ(fragment.rfind("#version 120\n#define TORVANE_FRAGMENT 1\n", 0), 0u);
  EXPECT_EQ(vertex.find("shade()"), std::string::npos);
  EXPECT_NE(fragment.find("vec4 shade()"), std::string::npos);
  EXPECT_EQ(fragment.find("void vsMain"), std::string::npos);
  EXPECT_NE(vertex.find("attribute vec3 tangent;"), std::string::npos);
  EXPECT_EQ(fragment.find("attribute"), std::string::npos);
  EXPECT_NE(vertex.find("#line 13\nvoid vsMain()"), std::string::npos);
  EXPECT_NE(vertex.find("void main() { vsMain(); }"), std::string::npos);

  EXPECT_FALSE(BuildStageSource(source, EffectStage::Fragment, "missing", fragment, error));
  EXPECT_EQ(error, "no function 'missing' for the fragment program");
}

TEST(EffectStageSource, FunctionsNamedByMacrosAndInitialisersAreKept) {
  EffectSource source;
  ASSERT_TRUE(ParseEffect("float half_(float x) { return x * 0.5; }\n"
                          "float twice(float x) { return x * 2.0; }\n"
                          "float unused() { discard; return 0.0; }\n"
                          "#define HALF(x) half_(x)\n"
                          "const float k = 1.0;\n"
                          "void main() { gl_Position = vec4(HALF(k)); }\n",
                          source));
  std::string glsl;
  std::string error;
  ASSERT_TRUE(BuildStageSource(source, EffectStage::Vertex, "main", glsl, error));
  EXPECT_NE(glsl.find("float half_"), std::string::npos);
  EXPECT_EQ(glsl.find("twice"), std::string::npos);
  EXPECT_EQ(glsl.find("discard"), std::string::npos);
  EXPECT_EQ(glsl.find("main() { main"), std::string::npos);
}

TEST(EffectParameterList, OpensStructsAndArraysIntoUnqualifiedLeaves) {
  EffectSource source;
  ASSERT_TRUE(ParseEffect("#define LIGHTS 2\n"
                          "struct Falloff { float range : RANGE; };\n"
                          "struct Light { vec3 pos; vec4 shKd : DIFFUSE; Falloff falloff; };\n"
                          "uniform Light lights[LIGHTS];\n"
                          "uniform vec4 colors[3] : PALETTE;\n"
                          "uniform int count;\n",
                          source));
  std::vector<EffectParameterLeaf> leaves;
  ASSERT_TRUE(ListEffectParameters(source, leaves));
  std::vector<std::string> paths;
  for (const auto& leaf : leaves) paths.push_back(leaf.path + "|" + leaf.name + "|" + leaf.semantic);
  EXPECT_EQ(paths, (std::vector<std::string>{
                       "lights[0].pos|pos|", "lights[0].shKd|shKd|DIFFUSE", "lights[0].falloff.range|range|RANGE",
                       "lights[1].pos|pos|", "lights[1].shKd|shKd|DIFFUSE", "lights[1].falloff.range|range|RANGE",
                       "colors[0]|colors|PALETTE", "colors[1]|colors|PALETTE", "colors[2]|colors|PALETTE",
                       "count|count|"}));
  EXPECT_EQ(leaves[1].type, EffectParameterType::Float4);
  EXPECT_EQ(leaves[9].type, EffectParameterType::Other);
}

TEST(EffectParameterList, RefusesHugeListsAndSelfReferences) {
  EffectSource source;
  ASSERT_TRUE(ParseEffect("struct A { vec4 v[1024]; };\n"
                          "struct B { A a; };\n"
                          "struct C { C self; float x; };\n"
                          "uniform B many[1024];\n"
                          "uniform C c;\n",
                          source));
  std::vector<EffectParameterLeaf> leaves;
  EXPECT_FALSE(ListEffectParameters(source, leaves));
  EXPECT_EQ(leaves.size(), MAX_EFFECT_PARAMETERS);

  // A struct may only hold structs declared before it, so a self-reference is a plain leaf.
  ASSERT_TRUE(ParseEffect("struct C { C self; float x; };\nuniform C c;\n", source));
  ASSERT_TRUE(ListEffectParameters(source, leaves));
  ASSERT_EQ(leaves.size(), 2u);
  EXPECT_EQ(leaves[0].path, "c.self");
  EXPECT_EQ(leaves[0].type, EffectParameterType::Other);
}

}  // namespace
