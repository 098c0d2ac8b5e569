#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "core/runtime_class.h"
#include "files/core_file.h"
#include "files/core_file_stream.h"
#include "tests/support/critical_exit.h"
#include "tests/support/pack_test.h"

namespace {

class CoreFileTest : public PackTest {
 protected:
  void SetUp() override {
    OpenPack({{"data\\first.txt", "line one\nline two\n"}, {"data\\second.bin", "ABCDEFGHIJ"}});
  }
};

using CoreFileDeathTest = CoreFileTest;

TEST_F(CoreFileTest, ReadsPastTheEndOfAnEntryReturnTheNextEntrysBytes) {
  CoreFile file("data\\first.txt", MODE_READ);
  ASSERT_EQ(file.GetSize(), 18u);
  file.Seek(file.GetSize() - 4, 0);
  char buffer[11] = {};
  EXPECT_EQ(file.Read(buffer, 10), 10u);
  EXPECT_STREQ(buffer, "two\nABCDEF");
  EXPECT_EQ(file.GetPosition(), 24u);
  EXPECT_TRUE(file.IsEof());

  CoreFile last("data\\second.bin", MODE_READ);
  last.Seek(8, 0);
  EXPECT_EQ(last.Read(buffer, 10), 2u) << "the pack file ends";
  EXPECT_EQ(last.GetPosition(), 18u) << "the position moves by the count asked for";
}

TEST_F(CoreFileTest, FileSeekCountsFromTheStartOrTheCurrentPosition) {
  CoreFile file("data\\second.bin", MODE_READ);
  file.Seek(5, 1);
  EXPECT_EQ(file.GetPosition(), 5u);
  file.Seek(3, 1);
  EXPECT_EQ(file.GetPosition(), 8u);
  EXPECT_EQ(file.GetChar(), 'I');
  file.Seek(0, 0);
  EXPECT_EQ(file.GetChar(), 'A');
}

TEST_F(CoreFileTest, StreamSeekNumbersItsOriginsTheOtherWayRound) {
  CoreFile file("data\\second.bin", MODE_READ);
  CoreFileStream stream(&file);
  file.Seek(6, 0);
  stream.Seek(0, 0);
  EXPECT_EQ(file.GetPosition(), 6u) << "stream origin 0 is the current position";
  stream.Seek(2, 0);
  EXPECT_EQ(file.GetPosition(), 8u);
  stream.Seek(0, 1);
  EXPECT_EQ(file.GetPosition(), 0u) << "stream origin 1 is the start";
  EXPECT_EQ(stream.GetChar(), 'A');
}

TEST_F(CoreFileTest, GetLineAdvancesByTheBufferSize) {
  CoreFile file("data\\first.txt", MODE_READ);
  char line[256];
  ASSERT_EQ(file.GetLine(line, sizeof line), line);
  EXPECT_STREQ(line, "line one\n");
  EXPECT_EQ(file.GetPosition(), 256u);
  EXPECT_EQ(file.GetLine(line, sizeof line), nullptr) << "position 256 lies past the pack's end";
  file.Seek(0, 0);
  EXPECT_EQ(file.GetLine(line, 5), line);
  EXPECT_STREQ(line, "line");
  EXPECT_EQ(file.GetLine(line, 0), nullptr);
}

TEST_F(CoreFileTest, UngetCharIsDroppedByTheNextPositionedAccess) {
  CoreFile file("data\\second.bin", MODE_READ);
  EXPECT_EQ(file.GetChar(), 'A');
  file.UngetChar('Z');
  EXPECT_EQ(file.GetPosition(), 1u);
  EXPECT_EQ(file.GetChar(), 'B');
}

TEST_F(CoreFileTest, InterleavedFilesKeepTheirOwnPositions) {
  CoreFile a("data\\first.txt", MODE_READ);
  CoreFile b("data\\second.bin", MODE_READ);
  std::string read;
  for (int i = 0; i < 3; ++i) {
    read += char(a.GetChar());
    read += char(b.GetChar());
  }
  EXPECT_EQ(read, "lAiBnC");
}

TEST(CoreFileExtension, IsTheTextAfterTheLastDotOfTheFinalComponent) {
  EXPECT_EQ(PathExtension("data\\model\\ship.BMDL"), "BMDL");
  EXPECT_EQ(PathExtension("data\\model\\ship"), "");
  EXPECT_EQ(PathExtension("data\\v1.2\\readme"), "");
  EXPECT_EQ(PathExtension("data\\x.mqo.old"), "old");
  EXPECT_EQ(PathExtension("data\\trailing."), "");
  EXPECT_EQ(PathExtension(""), "");
}

TEST(CoreFileClasses, AreRegisteredUnderTheirNamesWithCoreObjectAsBase) {
  for (const char* name : {"CoreFile", "CoreFileStream"}) {
    const CoreRuntimeClass* record = FindRuntimeClass(name);
    ASSERT_NE(record, nullptr) << name;
    EXPECT_STREQ(record->mName, name);
    EXPECT_STREQ(record->mBase->mName, "CoreObject");
    CoreObject* object = record->CreateObject();
    EXPECT_TRUE(object->IsKindOf(name));
    delete object;
  }
}

TEST(CoreFileStreamWithoutFile, ReadsNothingAndReportsNotOpen) {
  CoreFileStream stream;
  char c = 'x';
  EXPECT_FALSE(stream.IsOpen());
  EXPECT_FALSE(stream.IsReadable());
  EXPECT_EQ(stream.Read(&c, 1), 0u);
  EXPECT_EQ(stream.GetChar(), -1);
  EXPECT_EQ(stream.GetSize(), 0u);
  EXPECT_EQ(stream.GetName(), "");
  EXPECT_TRUE(stream.IsEof());
}

TEST_F(CoreFileTest, StreamForwardsToItsFile) {
  CoreFile file("data\\second.bin", MODE_READ);
  CoreFileStream stream(&file);
  EXPECT_TRUE(stream.IsOpen());
  EXPECT_FALSE(stream.IsWritable());
  EXPECT_EQ(stream.GetSize(), 10u);
  EXPECT_EQ(stream.GetName(), "data\\second.bin");
  EXPECT_EQ(stream.GetExtension(), "bin");
  char bytes[4] = {};
  EXPECT_EQ(stream.Read(bytes, 3), 3u);
  EXPECT_STREQ(bytes, "ABC");
  EXPECT_FALSE(stream.IsEof());
}

TEST_F(CoreFileDeathTest, WritingAndSeekingFromTheEndAreCritical) {
  CoreFile file("data\\second.bin", MODE_READ);
  CoreFileStream stream(&file);
  EXPECT_CRITICAL_EXIT(file.Write("x", 1), "Critical error:[0 + \"write to file is not supported!\"]");
  EXPECT_CRITICAL_EXIT(stream.Write("x", 1), "Critical error:[0 + \"write to file is not supported!\"]");
  EXPECT_CRITICAL_EXIT(file.Seek(0, 2), "Critical error:[0 + \"not supported!\"]");
  EXPECT_CRITICAL_EXIT(stream.Seek(0, 2), "Critical error:[0 + \"not supported!\"]");
}

}  // namespace
