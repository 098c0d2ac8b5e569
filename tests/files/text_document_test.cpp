#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "files/entry_text.h"
#include "files/text_document.h"
#include "tests/support/pack_test.h"

namespace {

class TextDocumentTest : public PackTest {
 protected:
  void SetUp() override {
    OpenPack({{"data\\scene\\colours.tdf", "dif(0.800) amb(0.600)"},
              {"data\\scene\\split.tdf", "shader(3) (x\n col(1.000"},
              {"data\\blocks.txt", "{ a { b } c } d\nword next"},
              {"data\\braces.txt", "{ } x"},
              {"data\\zero.txt", std::string("before\0after", 12)},
              {"data\\empty.txt", ""},
              {"flat.txt", "x"}});
  }

  static std::vector<std::string> Tokens(TextDocument& document, int count) {
    std::vector<std::string> tokens;
    for (int i = 0; i < count; ++i) tokens.push_back(document.ReadToken());
    return tokens;
  }
};

TEST_F(TextDocumentTest, SplitsWordsAtParenthesesWithAnEmptyTokenAfterAClosingOne) {
  TextDocument document;
  ASSERT_TRUE(document.OpenText("data\\scene\\colours.tdf"));
  EXPECT_EQ(Tokens(document, 5), (std::vector<std::string>{"dif", "0.800", "", "amb", "0.600"}));
  EXPECT_FALSE(document.AtEnd()) << "the empty token after the last split is still to come";
  EXPECT_EQ(Tokens(document, 4), (std::vector<std::string>{"", "", "", ""}));
  EXPECT_TRUE(document.AtEnd());
}

TEST_F(TextDocumentTest, AWordThatBeginsWithAParenthesisYieldsAnEmptyTokenFirst) {
  TextDocument document;
  document.OpenText("data\\scene\\split.tdf");
  EXPECT_EQ(Tokens(document, 7), (std::vector<std::string>{"shader", "3", "", "", "x", "col", "1.000"}));
  EXPECT_EQ(document.ReadToken(), "");
}

TEST_F(TextDocumentTest, SkipBlockConsumesABlockThroughItsMatchingBrace) {
  TextDocument document;
  document.OpenText("data\\blocks.txt");
  document.SkipBlock();
  EXPECT_EQ(document.ReadToken(), "d");
  document.SkipBlock();
  EXPECT_EQ(document.ReadToken(), "next") << "before any other word it consumes that word";
  document.SkipBlock();
  EXPECT_EQ(document.ReadToken(), "") << "at the end it stops";
}

TEST_F(TextDocumentTest, ExpectBraceReportsAnErrorForAnythingButABrace) {
  TextDocument document;
  document.OpenText("data\\braces.txt");
  EXPECT_FALSE(document.ExpectBrace());
  EXPECT_FALSE(document.ExpectBrace());
  EXPECT_TRUE(document.ExpectBrace());
  EXPECT_TRUE(document.ExpectBrace()) << "the empty token at the end is not a brace";
}

TEST_F(TextDocumentTest, KeepsThePathAndItsDirectory) {
  TextDocument document;
  document.OpenText("data\\scene\\colours.tdf");
  EXPECT_EQ(document.Path(), "data\\scene\\colours.tdf");
  EXPECT_EQ(document.Directory(), "data\\scene\\");
  document.OpenText("flat.txt");
  EXPECT_EQ(document.Directory(), "");
}

TEST_F(TextDocumentTest, TheTextEndsAtItsFirstZeroByte) {
  TextDocument document;
  document.OpenText("data\\zero.txt");
  EXPECT_EQ(document.ReadToken(), "before");
  EXPECT_EQ(document.ReadToken(), "");
  EXPECT_EQ(ReadEntryText("data\\zero.txt").size(), 12u);
  document.OpenText("data\\empty.txt");
  EXPECT_EQ(document.ReadToken(), "");
  EXPECT_STREQ(document.Text(), "");
}

TEST_F(TextDocumentTest, ANewDocumentDoesNotInheritAnotherDocumentsRemainder) {
  TextDocument first;
  first.OpenText("data\\scene\\colours.tdf");
  EXPECT_EQ(first.ReadToken(), "dif");
  TextDocument second;
  second.OpenText("data\\blocks.txt");
  EXPECT_EQ(second.ReadToken(), "{");
  EXPECT_EQ(first.ReadToken(), "0.800");
  first.OpenText("data\\scene\\colours.tdf");
  EXPECT_EQ(first.ReadToken(), "dif") << "reopening starts afresh";
  first.CloseText();
  EXPECT_EQ(first.ReadToken(), "");
}

}  // namespace
