#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

#include "files/definition_xml.h"
#include "files/xml_error.h"
#include "tests/support/test_paths.h"

namespace {

std::string ReadData(const std::string& name) {
  std::ifstream in(SourcePath("tests/data/files/xml/" + name), std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

XmlParseResult ParseData(const std::string& name, const char* root) {
  std::string text = ReadData(name);
  EXPECT_FALSE(text.empty()) << name;
  return ParseXmlText(text.c_str(), text.size(), root);
}

// The number of elements in the subtree under element.
int CountElements(const XmlElement& element) {
  int count = 1;
  for (int i = 0; i < element.ElementCount(); ++i) count += CountElements(element.Element(i));
  return count;
}

TEST(XmlCorpus, ReadsTheSameDocumentInUtf8AndShiftJis) {
  XmlParseResult utf8 = ParseData("weekly-utf-8.xml", "週報");
  ASSERT_EQ(utf8.code, XML_ERROR_NONE) << XmlErrorText(utf8.code);
  // Shift-JIS bytes of the same root name.
  XmlParseResult sjis = ParseData("weekly-shift_jis.xml", "\x8f\x54\x95\xf1");
  ASSERT_EQ(sjis.code, XML_ERROR_NONE) << XmlErrorText(sjis.code);
  EXPECT_EQ(CountElements(utf8.root), CountElements(sjis.root));
  EXPECT_GT(CountElements(utf8.root), 20);
  XmlElement surname = utf8.root.Child("氏名", 0).Child("氏", 0);
  ASSERT_EQ(surname.Runs().size(), 1u);
  EXPECT_EQ(surname.Runs()[0].text, "山田");
}

TEST(XmlCorpus, SixteenBitTextIsRefusedCleanly) {
  XmlParseResult result = ParseData("weekly-utf-16.xml", "週報");
  EXPECT_EQ(result.code, XML_ERROR_FIRST_TAG_NOT_FOUND);
  EXPECT_TRUE(result.root.IsEmpty());
}

TEST(XmlCorpus, EveryFileEndsInATreeOrAPlacedError) {
  for (const auto& entry : std::filesystem::directory_iterator(SourcePath("tests/data/files/xml"))) {
    if (entry.path().extension() != ".xml") continue;
    std::string name = entry.path().filename();
    XmlParseResult result = ParseData(name, "doc");
    if (result.code == XML_ERROR_NONE) {
      EXPECT_FALSE(result.root.IsEmpty()) << name;
    } else if (result.code != XML_ERROR_FIRST_TAG_NOT_FOUND) {
      EXPECT_GE(result.line, 1) << name;
      EXPECT_GE(result.column, 1) << name;
    }
  }
  EXPECT_EQ(ParseData("p01fail1.xml", "doc").code, XML_ERROR_NONE) << "markup after the root is tolerated";
  EXPECT_EQ(ParseData("attlist01.xml", "root").code, XML_ERROR_UNEXPECTED_TOKEN);
}

}  // namespace
