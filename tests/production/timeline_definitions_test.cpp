#include <cstring>

#include <gtest/gtest.h>

#include "files/definition_xml.h"
#include "production/timeline_definitions.h"

namespace {

XmlElement Parse(const char* text) {
  XmlParseResult result = ParseXmlText(text, std::strlen(text), DEFINITION_ROOT_TAG);
  EXPECT_EQ(result.code, 0);
  return result.root;
}

TEST(SceneLineDefinitions, ReadsEveryEntryWithLenientNumbers) {
  XmlElement root = Parse(
      "<TRDataXml name=\"sceneLineDefine\">"
      "<SceneLineEntry tdfId=\"a\" line=\"2\" sTime=\"  1000\" eTime=\"2000ms\" shader=\"glow\"/>"
      "<sceneLineEntry TDFID=\"b\" line=\"x\" sTime=\"-1\" shader=\"default\"/>"
      "<Other tdfId=\"c\"/>"
      "</TRDataXml>");
  std::vector<SceneLineEntry> entries;
  ASSERT_TRUE(ReadSceneLineEntries(root, entries));
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].tdfId, "a");
  EXPECT_EQ(entries[0].line, 2);
  EXPECT_EQ(entries[0].startTime, 1000u);
  EXPECT_EQ(entries[0].endTime, 2000u);
  EXPECT_EQ(entries[0].shaderName, "glow");
  EXPECT_EQ(entries[0].rangeStart, 0);
  EXPECT_EQ(entries[0].rangeEnd, -1);
  EXPECT_EQ(entries[1].tdfId, "b") << "element and attribute names ignore case";
  EXPECT_EQ(entries[1].line, 0);
  EXPECT_EQ(entries[1].startTime, 0xFFFFFFFFu) << "a negative time counts as a very large one";
  EXPECT_EQ(entries[1].endTime, 0u);
}

TEST(SceneLineDefinitions, TheRootNameMustBeginWithTheDefinitionName) {
  std::vector<SceneLineEntry> entries;
  EXPECT_TRUE(ReadSceneLineEntries(Parse("<TRDataXml name=\"sceneLineDefineV2\"/>"), entries));
  EXPECT_FALSE(ReadSceneLineEntries(Parse("<TRDataXml name=\"sceneLine\"><SceneLineEntry/></TRDataXml>"), entries));
  EXPECT_TRUE(entries.empty());
  EXPECT_FALSE(ReadSceneLineEntries(Parse("<TRDataXml><SceneLineEntry/></TRDataXml>"), entries));
  EXPECT_FALSE(ReadSceneLineEntries(Parse("<TRDataXml name=\"SceneLineDefine\"/>"), entries)) << "case-sensitive";
}

TEST(TdfDefinitions, UnusedEntriesAreDroppedAndTheLastOfAnIdWins) {
  std::vector<SceneLineEntry> lines(2);
  lines[0].tdfId = "intro";
  lines[1].tdfId = "outro";
  XmlElement root = Parse(
      "<TRDataXml name=\"tdfDefine\">"
      "<TdfEntry id=\"intro\" path=\"data\\tdf\\a.tdf\"/>"
      "<TdfEntry id=\"unused\" path=\"data\\tdf\\b.tdf\"/>"
      "<TdfEntry id=\"Outro\" path=\"data\\tdf\\c.tdf\"/>"
      "<TdfEntry id=\"intro\" path=\"data\\tdf\\d.tdf\"/>"
      "</TRDataXml>");
  std::vector<TdfEntry> entries;
  ASSERT_TRUE(ReadTdfEntries(root, lines, entries));
  ASSERT_EQ(entries.size(), 2u) << "ids compare exactly: Outro is not outro";
  EXPECT_EQ(entries[0].path, "data\\tdf\\a.tdf");
  EXPECT_EQ(entries[1].path, "data\\tdf\\d.tdf");
  ASSERT_NE(FindTdfEntry(entries, "intro"), nullptr);
  EXPECT_EQ(FindTdfEntry(entries, "intro")->path, "data\\tdf\\d.tdf");
  EXPECT_EQ(FindTdfEntry(entries, "outro"), nullptr);
  EXPECT_FALSE(ReadTdfEntries(Parse("<TRDataXml name=\"tdfDefin\"/>"), lines, entries));
}

TEST(TdfDefinitions, ShaderPathsLiveUnderTheShaderFolder) {
  EXPECT_EQ(SceneLineShaderPath("glow"), "data\\shader\\glow.cgfx");
}

}  // namespace
