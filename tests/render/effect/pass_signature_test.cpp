// Pass signatures: equal for passes that do the same, whatever the comments and layout; different
// as soon as a program, a state or a uniform differs.
#include "render/effect/pass_signature.h"

#include <gtest/gtest.h>

#include <string>

#include "render/effect/parser.h"

namespace {

const char EFFECT[] = R"(
uniform mat4 projMat : WORLDVIEWPROJECTION;
uniform sampler2D tex = sampler_state { MinFilter = Nearest; MagFilter = Nearest; };
varying vec2 vUv;
void vs() { vUv = gl_MultiTexCoord0.xy; gl_Position = projMat * gl_Vertex; }
void fs() { gl_FragColor = texture2D(tex, vUv); }
void other() { gl_FragColor = vec4(1.0); }
technique T {
  pass Copy { VertexProgram = vs; FragmentProgram = fs; BlendEnable = false; }
  pass Add { VertexProgram = vs; FragmentProgram = fs; BlendEnable = true; BlendFunc = int2(One, One); }
}
)";

std::string Signature(const std::string& text, int pass = 0) {
  EffectSource source;
  if (!ParseEffect(text, source) || source.techniques.empty()) return "unparsed";
  return PassSignature(source, source.techniques[0].passes.at(static_cast<size_t>(pass)));
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  const size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

TEST(PassSignature, CommentsLayoutAndUnreachedFunctionsDoNotCount) {
  const std::string original = Signature(EFFECT);
  ASSERT_FALSE(original.empty());
  const std::string reworded = "// the same effect, written out differently\n" +
                               Replace(Replace(EFFECT, "void fs() { gl_FragColor = texture2D(tex, vUv); }",
                                               "void fs()\n{\n  /* copy */ gl_FragColor =\n    texture2D( tex , vUv );\n}"),
                                       "void other() { gl_FragColor = vec4(1.0); }", "");
  EXPECT_EQ(Signature(reworded), original);
  EXPECT_NE(Signature(EFFECT, 1), original) << "the second pass blends";
}

TEST(PassSignature, AnyChangeToProgramsStatesOrUniformsCounts) {
  const std::string original = Signature(EFFECT, 1);
  const std::pair<const char*, const char*> changes[] = {
      {"BlendFunc = int2(One, One)", "BlendFunc = int2(One, Zero)"},
      {"MagFilter = Nearest", "MagFilter = Linear"},
      {": WORLDVIEWPROJECTION", ": OTHER"},
      {"gl_FragColor = texture2D(tex, vUv);", "gl_FragColor = texture2D(tex, vUv) * 0.5;"},
      {"gl_Position = projMat * gl_Vertex;", "gl_Position = gl_Vertex;"},
      {"varying vec2 vUv;", "varying vec2 vUv;\nuniform float unused;"},
  };
  for (const auto& [from, to] : changes) EXPECT_NE(Signature(Replace(EFFECT, from, to), 1), original) << to;
  EXPECT_EQ(Signature(Replace(EFFECT, "FragmentProgram = fs; BlendEnable = true", "FragmentProgram = none; BlendEnable = true"), 1),
            "");
}

}  // namespace
