#include <cmath>
#include <string>

#include <gtest/gtest.h>

#include "files/core_file.h"
#include "files/core_file_stream.h"
#include "tests/support/pack_test.h"

namespace {

class ScanFormatTest : public PackTest {
 protected:
  // Packs text as the only entry and scans it with format.
  void Open(const std::string& text) {
    OpenPack({{"data\\values.txt", text}});
    mFile = CoreFile("data\\values.txt", MODE_READ);
  }

  CoreFile mFile;
  CoreFileStream mStream{&mFile};
};

TEST_F(ScanFormatTest, ReadsRealsSeparatedByBlanksTabsAndLineEnds) {
  Open(" 1.5\t-2  3e1\n");
  float a = 0, b = 0, c = 0;
  EXPECT_EQ(mStream.ScanFormat("%f %f %f", &a, &b, &c), 0);
  EXPECT_FLOAT_EQ(a, 1.5f);
  EXPECT_FLOAT_EQ(b, -2.0f);
  EXPECT_FLOAT_EQ(c, 30.0f);
}

TEST_F(ScanFormatTest, LiteralTextInTheFormatIsSkippedNotMatched) {
  Open("12 name 7");
  int first = 0, second = 0;
  char word[4096] = {};
  mStream.ScanFormat("count=%D, %s; %x %d", &first, word, &second);
  EXPECT_EQ(first, 12);
  EXPECT_STREQ(word, "name");
  EXPECT_EQ(second, 7) << "an unknown letter converts nothing and takes no pointer";
}

TEST_F(ScanFormatTest, EachCallStartsWithAFreshReadAtThePosition) {
  Open("10 20\r\n30");
  int a = 0, b = 0, c = 0;
  mStream.ScanFormat("%d", &a);
  mStream.ScanFormat("%d%d", &b, &c);
  EXPECT_EQ(a, 10);
  // The first call read one byte past its word; the second starts after it.
  EXPECT_EQ(b, 20);
  EXPECT_EQ(c, 30);
}

TEST_F(ScanFormatTest, ConversionsAtTheEndOfTheDataStopWithWhatTheyHave) {
  Open("5");
  int a = -1, b = -1;
  char word[4096] = "untouched";
  mStream.ScanFormat("%d %d %s", &a, &b, word);
  EXPECT_EQ(a, 5);
  EXPECT_EQ(b, 0);
  EXPECT_STREQ(word, "");
}

TEST_F(ScanFormatTest, OverlongWordsAreCutAndOutOfRangeNumbersSaturate) {
  Open(std::string(5000, 'w') + " 99999999999999999999 1e300 -1e300 next");
  char word[4096];
  int big = 0;
  float huge = 0, negative = 0;
  char after[4096];
  mStream.ScanFormat("%s %d %f %f %s", word, &big, &huge, &negative, after);
  EXPECT_EQ(std::string(word), std::string(4095, 'w'));
  EXPECT_EQ(big, 2147483647);
  EXPECT_TRUE(std::isinf(huge) && huge > 0);
  EXPECT_TRUE(std::isinf(negative) && negative < 0);
  EXPECT_STREQ(after, "next");
}

}  // namespace
