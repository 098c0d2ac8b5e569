// The <PostEffectEntry> writer shared by the developer mode and the showcase generators: what it
// writes reads back as the same entry, with floats as short as they read back.
#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "files/definition_xml.h"
#include "resources/post_effect_entry.h"
#include "resources/post_effect_xml.h"

namespace {

// The copied XML is what an author pastes into the definition file: read back, it gives the entry.
TEST(PostEffectXml, ReadsBackAsTheSameEntry) {
  PostEffectEntry entry;
  entry.startTime = 250;
  entry.endTime = 4294967295u;
  entry.shader = "glow\"Composite";
  entry.execPrio = -3;
  entry.execPass = 1;
  entry.renderTarget = 7;
  entry.sources.push_back(ReadPostEffectSource("sceneTex", "color", "w0"));
  entry.sources.push_back(ReadPostEffectSource("depth&Tex", "depth", "9"));
  entry.constants.push_back(ReadPostEffectConstant("glowStrength", "float", "0.6"));
  entry.constants.push_back(ReadPostEffectConstant("tint", "float3", "1,0.9,0.8"));
  entry.constants[1].values[1] = 0.123456789f;
  entry.constants.push_back(ReadPostEffectConstant("odd", "half", "5"));

  std::string text = "<TRDataXml name=\"postEffectDefine\">\n" + resources::PostEffectEntryXml(entry) + "</TRDataXml>\n";
  XmlParseResult parsed = ParseXmlText(text.c_str(), text.size(), DEFINITION_ROOT_TAG);
  ASSERT_EQ(parsed.code, 0) << text;
  std::vector<PostEffectEntry> entries;
  std::vector<std::string> notes;
  ReadPostEffectEntries(parsed.root, entries, notes);
  ASSERT_EQ(entries.size(), 1u) << text;
  const PostEffectEntry& back = entries[0];
  EXPECT_EQ(back.startTime, entry.startTime);
  EXPECT_EQ(back.endTime, entry.endTime);
  EXPECT_EQ(back.shader, entry.shader);
  EXPECT_EQ(back.execPrio, entry.execPrio);
  EXPECT_EQ(back.execPass, entry.execPass);
  EXPECT_EQ(back.renderTarget, entry.renderTarget);
  ASSERT_EQ(back.sources.size(), 2u);
  for (size_t i = 0; i < 2; ++i) {
    EXPECT_EQ(back.sources[i].param, entry.sources[i].param);
    EXPECT_EQ(back.sources[i].set, entry.sources[i].set);
    EXPECT_EQ(back.sources[i].index, entry.sources[i].index);
    EXPECT_EQ(back.sources[i].kind, entry.sources[i].kind);
  }
  ASSERT_EQ(back.constants.size(), 3u);
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(back.constants[i].param, entry.constants[i].param);
    EXPECT_EQ(back.constants[i].type, entry.constants[i].type);
    for (int c = 0; c < PostEffectConstantComponents(entry.constants[i].type); ++c) {
      EXPECT_EQ(back.constants[i].values[c], entry.constants[i].values[c]) << i << " " << c;
    }
  }
  EXPECT_NE(text.find("value=\"1,0.12345679,0.8\""), std::string::npos) << text;
}

TEST(PostEffectXml, FloatsAreWrittenAsShortAsTheyReadBack) {
  EXPECT_EQ(ShortestFloatText(0.6f), "0.6");
  EXPECT_EQ(ShortestFloatText(2.0f), "2");
  EXPECT_EQ(ShortestFloatText(-1.0e-7f), "-1e-07");
  for (float value : {0.1f, 1.0f / 3.0f, 123456.789f, 3.4e38f}) {
    EXPECT_EQ(std::strtof(ShortestFloatText(value).c_str(), nullptr), value);
  }
}

}  // namespace
