#include <cstdlib>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "files/definition_xml.h"
#include "files/xml_encoding.h"
#include "files/xml_error.h"

namespace {

XmlParseResult Parse(const std::string& text, const char* root = "TRDataXml") {
  return ParseXmlText(text.c_str(), text.size(), root);
}

XmlElement Root(const std::string& text, const char* root = "TRDataXml") {
  XmlParseResult result = Parse(text, root);
  EXPECT_EQ(result.code, XML_ERROR_NONE) << XmlErrorText(result.code) << " at " << result.line << ":" << result.column;
  return result.root;
}

const char DEFINITION[] =
    "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\n"
    "<!-- scene lines -->\n"
    "<trdataxml Name=\"sceneLine\">\n"
    "  <SceneLineEntry id=\"intro\" line='0' start=\"0\" end=\"5000\" shader=\"default\"/>\n"
    "  <Other/>\n"
    "  <sceneLineEntry ID=\"ship\" line=\"1\" enabled>text &amp; more</sceneLineEntry>\n"
    "</TRDATAXML>\n";

TEST(XmlReader, FindsTheRootAndItsChildrenWithoutRegardToCase) {
  XmlElement root = Root(DEFINITION);
  ASSERT_FALSE(root.IsEmpty());
  EXPECT_STREQ(root.Name(), "trdataxml");
  EXPECT_STREQ(root.Attribute("name"), "sceneLine");
  EXPECT_EQ(root.ChildCount("SceneLineEntry"), 2);
  EXPECT_EQ(root.ChildCount("other"), 1);
  XmlElement second = root.Child("SCENELINEENTRY", 1);
  EXPECT_STREQ(second.Attribute("id"), "ship");
  EXPECT_EQ(second.Attribute("enabled"), nullptr) << "written without a value";
  EXPECT_EQ(second.AttributeCount(), 3);
  EXPECT_STREQ(second.AttributeName(2), "enabled");
  EXPECT_STREQ(root.Child("SceneLineEntry", 0).Attribute("line"), "0");
  EXPECT_STREQ(root.Child("SceneLineEntry", 0).Attribute("end"), "5000");
  ASSERT_EQ(second.Runs().size(), 1u);
  EXPECT_EQ(second.Runs()[0].text, "text & more");
}

TEST(XmlReader, ElementsKnowWhereTheirStartTagIsAfterEntitiesAreDecoded) {
  // Decoded values shrink in place: the names after them must keep their places in the text.
  const std::string text = "<TRDataXml a=\"&amp;&lt;&#65;\">\n  <First b='&quot;'>&gt;&gt;</First>\n\n  <Second/>\n</TRDataXml>";
  XmlElement root = Root(text);
  XmlElement first = root.Child("First", 0);
  XmlElement second = root.Child("Second", 0);
  EXPECT_EQ(root.SourceOffset(), text.find("TRDataXml"));
  EXPECT_EQ(first.SourceOffset(), text.find("First"));
  EXPECT_EQ(second.SourceOffset(), text.find("Second"));
  EXPECT_EQ(XmlElement().SourceOffset(), 0u);
}

TEST(XmlReader, MissingChildrenAndAttributesGiveEmptyResults) {
  XmlElement root = Root(DEFINITION);
  EXPECT_TRUE(root.Child("SceneLineEntry", 2).IsEmpty());
  EXPECT_TRUE(root.Child("SceneLineEntry", -1).IsEmpty());
  EXPECT_EQ(root.Attribute("missing"), nullptr);
  XmlElement empty = root.Child("nothing", 0);
  EXPECT_EQ(empty.Attribute("name"), nullptr);
  EXPECT_EQ(empty.ChildCount("x"), 0);
  EXPECT_STREQ(empty.Name(), "");
  EXPECT_TRUE(empty.Child("x", 0).IsEmpty());
}

TEST(XmlReader, ChildLookupsGiveTheSameAnswersInAnyOrder) {
  std::string text = "<TRDataXml>";
  std::vector<std::string> names;
  for (int i = 0; i < 30; ++i) {
    text += "<a n='" + std::to_string(i) + "'><a n='inner'/></a>";
    names.push_back("a");
    if (i % 3 == 0) {
      text += "<B n='" + std::to_string(i) + "'/>";
      names.push_back("B");
    }
  }
  XmlElement root = Root(text + "</TRDataXml>");
  ASSERT_EQ(root.ChildCount("A"), 30);
  ASSERT_EQ(root.ChildCount("b"), 10);
  ASSERT_EQ(root.ElementCount(), 40);
  const int order[] = {0, 1, 2, 29, 5, 5, 4, 30, 6, 7, 0, 28, 39, 38, 40};
  for (int index : order) {
    XmlElement a = root.Child("a", index);
    if (index < 30) {
      ASSERT_FALSE(a.IsEmpty()) << index;
      EXPECT_EQ(a.Attribute("n"), std::to_string(index));
      EXPECT_STREQ(a.Child("a", 0).Attribute("n"), "inner");
    } else {
      EXPECT_TRUE(a.IsEmpty());
    }
    EXPECT_EQ(root.Child("B", index % 10).Attribute("n"), std::to_string(index % 10 * 3));
    if (index < 40) {
      EXPECT_EQ(root.Element(index).Name(), names[size_t(index)]) << index;
    } else {
      EXPECT_TRUE(root.Element(index).IsEmpty());
    }
  }
}

TEST(XmlReader, AChildHandleKeepsItsTreeAlive) {
  XmlElement child;
  {
    XmlElement root = Root(DEFINITION);
    child = root.Child("SceneLineEntry", 0);
  }
  EXPECT_STREQ(child.Attribute("shader"), "default");
  EXPECT_STREQ(child.Name(), "SceneLineEntry");
}

TEST(XmlReader, DeclarationsHoldWhatFollowsThemAndAreSearchedForTheRoot) {
  XmlElement root = Root("<?xml version='1.0'?><?style x?><TRDataXml a='1'/>");
  EXPECT_STREQ(root.Attribute("a"), "1");
  XmlElement withPrologue = Root("<!DOCTYPE x><TRDataXml/><!-- after -->");
  EXPECT_STREQ(withPrologue.Name(), "TRDataXml");
  XmlElement inner = Root("<TRDataXml><?pi data?><a/></TRDataXml>");
  ASSERT_EQ(inner.ElementCount(), 1);
  EXPECT_TRUE(inner.Element(0).IsDeclaration());
  EXPECT_EQ(inner.Element(0).ChildCount("a"), 1);
}

TEST(XmlReader, KeepsClearRunsVerbatim) {
  XmlElement root = Root(
      "<TRDataXml><![CDATA[<a & b>]]><!-- c <d> --><PRE>&bogus;</PRE><Script>if (a<b) x();</Script></TRDataXml>");
  auto runs = root.Runs();
  ASSERT_EQ(runs.size(), 4u);
  EXPECT_EQ(runs[0].text, "<a & b>");
  EXPECT_EQ(runs[1].text, " c <d> ");
  EXPECT_EQ(runs[2].text, "&bogus;");
  EXPECT_EQ(runs[3].text, "if (a<b) x();");
  EXPECT_TRUE(runs[3].clear);
}

TEST(XmlReader, ReplacesEntitiesInValuesAndText) {
  XmlElement root = Root("<TRDataXml v=\"&lt;&GT;&Amp;&quot;&apos;&#65;&#x42;&#x143;\">&#97;</TRDataXml>");
  EXPECT_STREQ(root.Attribute("v"), "<>&\"'ABC");
  EXPECT_EQ(root.Runs()[0].text, "a");
  for (const char* bad : {"<TRDataXml v='&nbsp;'/>", "<TRDataXml v='&#12a;'/>", "<TRDataXml v='&#12'/>",
                          "<TRDataXml v='&#;'/>", "<TRDataXml v='&#xG;'/>", "<TRDataXml>a & b</TRDataXml>"}) {
    EXPECT_EQ(Parse(bad).code, XML_ERROR_UNKNOWN_CHARACTER_ENTITY) << bad;
  }
}

TEST(XmlReader, AQuoteWithoutItsPartnerBeforeMarkupIsPlainText) {
  XmlElement root = Root("<TRDataXml><a v=\"x/></TRDataXml>");
  EXPECT_STREQ(root.Child("a", 0).Attribute("v"), "\"x");
  XmlElement plain = Root("<TRDataXml v=plain w=a/b/>");
  EXPECT_STREQ(plain.Attribute("v"), "plain");
  EXPECT_STREQ(plain.Attribute("w"), "a/b");
}

struct Failure {
  const char* text;
  int code;
  int line;
  int column;
};

TEST(XmlReader, ReportsEachFailureWithWhereItStopped) {
  const Failure failures[] = {
      {"<TRDataXml>\n  <a>\n", XML_WARNING_UNMATCHED_END_TAG, 3, 1},
      {"<TRDataXml><a></b></TRDataXml>", XML_ERROR_UNMATCHED_END_TAG, 1, 15},
      // An end tag that is a prefix of its start tag, or the other way round, does not close it.
      {"<TRDataXml><ab></a></TRDataXml>", XML_ERROR_UNMATCHED_END_TAG, 1, 16},
      {"<TRDataXml><a></ab></TRDataXml>", XML_ERROR_UNMATCHED_END_TAG, 1, 15},
      {"<TRDataXml>\n< a/></TRDataXml>", XML_ERROR_MISSING_START_TAG_NAME, 2, 1},
      {"<TRDataXml></ ></TRDataXml>", XML_ERROR_MISSING_END_TAG_NAME, 1, 12},
      {"<TRDataXml><!-- open</TRDataXml>", XML_ERROR_UNMATCHED_CLEAR_TAG_END, 1, 12},
      {"<TRDataXml a=\"1\" =\"2\"/>", XML_ERROR_UNEXPECTED_TOKEN, 1, 18},
      {"<TRDataXml a=/>", XML_ERROR_UNEXPECTED_TOKEN, 1, 14},
      {"<TRDataXml><x>&zz;</x></TRDataXml>", XML_ERROR_UNKNOWN_CHARACTER_ENTITY, 1, 15},
      {"<TRDataXml a='1'", XML_WARNING_UNMATCHED_END_TAG, 1, 17},
      {"</TRDataXml>", XML_ERROR_UNMATCHED_END_TAG, 1, 1},
  };
  for (const Failure& failure : failures) {
    XmlParseResult result = Parse(failure.text);
    EXPECT_EQ(result.code, failure.code) << failure.text;
    EXPECT_EQ(result.line, failure.line) << failure.text;
    EXPECT_EQ(result.column, failure.column) << failure.text;
    EXPECT_TRUE(result.root.IsEmpty()) << failure.text;
  }
}

TEST(XmlReader, AMissingRootIsFirstTagNotFoundAtLineZero) {
  for (const char* text : {"<Other/>", "", "   ", "just text", "<?xml version='1.0'?>"}) {
    XmlParseResult result = Parse(text);
    EXPECT_EQ(result.code, XML_ERROR_FIRST_TAG_NOT_FOUND) << text;
    EXPECT_EQ(result.line, 0);
    EXPECT_EQ(result.column, 0);
  }
  XmlParseResult nothing = ParseXmlText(nullptr, 0, "TRDataXml");
  EXPECT_EQ(nothing.code, XML_ERROR_NO_ELEMENTS);
  EXPECT_EQ(XmlErrorMessage(nothing, "x.xml", "TRDataXml"),
            "XML Parsing error inside file 'x.xml'.\nError: No elements found\nAt line 1, column 1.\n");
}

TEST(XmlReader, FormatsTheMessageBoxText) {
  XmlParseResult missingRoot = Parse("<Other/>");
  EXPECT_EQ(XmlErrorMessage(missingRoot, "data\\definition\\tdfDefine.xml", "TRDataXml"),
            "XML Parsing error inside file 'data\\definition\\tdfDefine.xml'.\n"
            "Error: First Tag not found\nAt line 0, column 0.\nFirst Tag should be 'TRDataXml'.\n");
  XmlParseResult unmatched = Parse("<TRDataXml>\n<a>");
  EXPECT_EQ(XmlErrorMessage(unmatched, "x.xml", "TRDataXml"),
            "XML Parsing error inside file 'x.xml'.\nWarning: Unmatched end tag\nAt line 2, column 4.\n");
}

TEST(XmlReader, FailuresGiveTheEmptyHandleAndTheAlertToRaise) {
  std::string text = "<TRDataXml><a></TRDataXml>";
  Alert failure;
  XmlElement root = ParseDefinitionXml(text.c_str(), text.size(), "TRDataXml", "data\\definition\\x.xml", failure);
  EXPECT_TRUE(root.IsEmpty());
  EXPECT_EQ(failure.caption, "XML Parsing error");
  EXPECT_EQ(failure.text,
            "XML Parsing error inside file 'data\\definition\\x.xml'.\n"
            "Error: Unmatched end tag\nAt line 1, column 15.\n");
  EXPECT_EQ(failure.icon, AlertIcon::Error);
  std::string good = "<TRDataXml/>";
  Alert none;
  EXPECT_FALSE(ParseDefinitionXml(good.c_str(), good.size(), "TRDataXml", "y.xml", none).IsEmpty());
  EXPECT_TRUE(none.text.empty());
}

TEST(XmlReader, TheTextEndsAtItsLengthOrFirstZeroByte) {
  std::string text = std::string("<TRDataXml/>\0<broken", 20);
  EXPECT_EQ(Parse(text).code, XML_ERROR_NONE);
  EXPECT_EQ(ParseXmlText("<TRDataXml/><", 12, "TRDataXml").code, XML_ERROR_NONE);
}

XmlEncoding Detected(const std::string& text, XmlEncoding before) {
  SetXmlEncoding(before);
  Parse(text);
  return CurrentXmlEncoding();
}

TEST(XmlEncodingDetection, FollowsTheDeclarationAndTheBytes) {
  const std::string pad = "<TRDataXml>padding padding padding</TRDataXml>";
  EXPECT_EQ(Detected("<?xml encoding=\"Shift_JIS\"?>" + pad, XmlEncoding::Utf8), XmlEncoding::Legacy);
  EXPECT_EQ(Detected("<?xml encoding = ' shift-jis'?>" + pad, XmlEncoding::Utf8), XmlEncoding::ShiftJis);
  EXPECT_EQ(Detected("<?xml encoding='SJIS'?>" + pad, XmlEncoding::Utf8), XmlEncoding::ShiftJis);
  EXPECT_EQ(Detected("<?xml encoding='UTF8'?>" + pad, XmlEncoding::Legacy), XmlEncoding::Utf8);
  EXPECT_EQ(Detected("<?xml encoding='utf-8'?>\xC3\xC3" + pad, XmlEncoding::ShiftJis), XmlEncoding::ShiftJis)
      << "a utf-8 declaration over bytes that are not UTF-8 leaves the setting alone";
  EXPECT_EQ(Detected("\xEF\xBB\xBF" + pad, XmlEncoding::Legacy), XmlEncoding::Utf8);
  EXPECT_EQ(Detected("\xE9\xC0" + pad, XmlEncoding::Utf8), XmlEncoding::Legacy);
  EXPECT_EQ(Detected("<TRDataXml/>", XmlEncoding::ShiftJis), XmlEncoding::ShiftJis) << "under 25 bytes";
  std::string utf16;
  for (char c : "<TRDataXml>padding padding</TRDataXml>") utf16 += std::string{c, '\0'};
  EXPECT_EQ(Detected(utf16, XmlEncoding::Legacy), XmlEncoding::Legacy) << "16-bit text";
  EXPECT_EQ(Detected("\xFF\xFE" + pad, XmlEncoding::ShiftJis), XmlEncoding::ShiftJis);
  SetXmlEncoding(XmlEncoding::Utf8);
}

TEST(XmlEncodingDetection, DecidesHowCharactersAreScannedAndCounted) {
  // 0x83 0x5D is one Shift-JIS character whose second byte is "]".
  std::string cdata = "<TRDataXml><![CDATA[\x83]]>]]></TRDataXml>";
  std::string declaredSjis = "<?xml encoding='sjis'?>\n" + cdata;
  std::string declaredLegacy = "<?xml encoding='latin-1'?>\n" + cdata;
  XmlElement sjis = Root(declaredSjis);
  EXPECT_EQ(sjis.Runs()[0].text, "\x83]]>");
  XmlElement legacy = Root(declaredLegacy);
  EXPECT_EQ(legacy.Runs()[0].text, "\x83");

  std::string wide = "<?xml encoding='sjis'?>\n\x82\xA0\x82\xA0<x></TRDataXml>";
  EXPECT_EQ(Parse(wide).column, 6) << "two characters before <x> in Shift-JIS";
  std::string narrow = "<?xml encoding='latin'?>\n\x82\xA0\x82\xA0<x></TRDataXml>";
  EXPECT_EQ(Parse(narrow).column, 8);
  SetXmlEncoding(XmlEncoding::Utf8);
}

}  // namespace
