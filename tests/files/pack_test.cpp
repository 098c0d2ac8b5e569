#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "files/core_file.h"
#include "files/pack_file.h"
#include "tests/support/critical_exit.h"
#include "tests/support/pack_test.h"

namespace {

namespace fs = std::filesystem;

std::string LittleEndian32(uint32_t value) {
  std::string out;
  for (int shift = 0; shift < 32; shift += 8) out += char((value >> shift) & 0xFF);
  return out;
}

std::string Header(const std::string& magic, uint32_t version, uint32_t count) {
  return magic + LittleEndian32(version) + LittleEndian32(count);
}

std::string Record(std::string name, uint32_t offset, uint32_t size) {
  name.resize(256, '\0');
  return name + LittleEndian32(offset) + LittleEndian32(size);
}

using PackDeathTest = PackTest;

TEST_F(PackDeathTest, HeaderChecksEndTheProcessWithTheirExactTexts) {
  std::string valid = PackImage({{"data\\a.txt", "abc"}});
  std::string badMagic = valid;
  badMagic[7] = 'x';
  EXPECT_CRITICAL_EXIT_SAYING(OpenPackBytes(badMagic),
                              "Critical error:[memcmp(mPackHeader.header, szHeader, strlen(szHeader))==0 + \"invalid header\"]",
                              "pack", ": not a pack file (it does not begin with \"NUXAPACK\")");
  std::string version2 = valid;
  version2[8] = 2;
  EXPECT_CRITICAL_EXIT_SAYING(OpenPackBytes(version2), "Critical error:[mPackHeader.version==0x00000001 + \"invalid version\"]",
                              "pack", ": a pack of version 2; only version 1 is read");
  EXPECT_CRITICAL_EXIT_SAYING(OpenPackBytes(Header("NUXAPACK", 1, 0)),
                              "Critical error:[mPackHeader.numEntries + \"invalid data entry.\"]", "pack",
                              ": the pack holds no entries");
  EXPECT_CRITICAL_EXIT(OpenPackBytes("NUXAPA"),
                       "Critical error:[memcmp(mPackHeader.header, szHeader, strlen(szHeader))==0 + \"invalid header\"]");
}

TEST_F(PackDeathTest, AMissingPackInTheWorkingDirectoryIsCritical) {
  std::string folder = std::filesystem::temp_directory_path() / "torvane-no-pack-here";
  std::filesystem::create_directories(folder);
  EXPECT_CRITICAL_EXIT_SAYING(
      {
        if (chdir(folder.c_str()) == 0) OpenPackage();
      },
      "Critical error:[mPackageFp + \"could not open torvane.pak\"]", "pack", "torvane.pak: No such file or directory");
}

// Damage that leaves a pack readable is named once, when it is opened: each entry cut short and by
// how much, and a table shorter than its count.
TEST_F(PackTest, EntriesCutShortAndAShortTableAreNamedWhenThePackOpens) {
  std::string image = PackImage({{"data\\a.txt", "whole"}, {"data\\b.txt", "0123456789"}});
  ::testing::internal::CaptureStderr();
  OpenPackBytes(image.substr(0, image.size() - 7));
  std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find(": data\\b.txt is cut short: 3 of its 10 bytes are in the pack, 7 missing\n"), std::string::npos) << err;
  EXPECT_EQ(err.find("a.txt"), std::string::npos) << err;
  EXPECT_EQ(CoreFile("data\\b.txt", MODE_READ).GetSize(), 3u);

  std::string lying = image;
  lying.replace(16 + 264 + 260, 4, LittleEndian32(4000));
  ::testing::internal::CaptureStderr();
  OpenPackBytes(lying);
  err = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find(": data\\b.txt is cut short: 10 of its 4000 bytes are in the pack, 3990 missing\n"), std::string::npos) << err;

  std::string shortTable = Header("NUXAPACK", 1, 5) + Record("data\\c.txt", 16 + 2 * 264, 1) + Record("data\\d.txt", 16 + 2 * 264, 1) + "x";
  ::testing::internal::CaptureStderr();
  OpenPackBytes(shortTable);
  err = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find(": the table lists 5 entries but only 2 are in the file\n"), std::string::npos) << err;

  ::testing::internal::CaptureStderr();
  OpenPackBytes(image);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "") << "a sound pack says nothing";
}

TEST_F(PackTest, OpensTorvanePakInTheWorkingDirectory) {
  fs::path folder = fs::temp_directory_path() / ("torvane-pack-here-" + std::to_string(getpid()));
  fs::create_directories(folder);
  std::ofstream(folder / "torvane.pak", std::ios::binary) << PackImage({{"data\\here.txt", "here"}});
  fs::path previous = fs::current_path();
  fs::current_path(folder);
  EXPECT_TRUE(OpenPackage());
  fs::current_path(previous);
  fs::remove_all(folder);
  CoreFile file("data\\here.txt", MODE_READ);
  char bytes[5] = {};
  EXPECT_EQ(file.Read(bytes, 4), 4u) << "the open stream outlives the file's name";
  EXPECT_STREQ(bytes, "here");
}

TEST_F(PackDeathTest, LookupsFailOnAnyDifferenceInTheName) {
  OpenPack({{"data\\definition\\sceneLineDefine.xml", "<x/>"}});
  CoreFile file;
  EXPECT_TRUE(FindPackEntry("data\\definition\\sceneLineDefine.xml", file, MODE_READ));
  const char NOT_FOUND[] = "Critical error:[isFound + \"file not found.\"]";
  EXPECT_CRITICAL_EXIT_SAYING(CoreFile("data/definition/sceneLineDefine.xml", MODE_READ), NOT_FOUND, "pack",
                              "data/definition/sceneLineDefine.xml: no such entry in ");
  EXPECT_CRITICAL_EXIT(CoreFile("data\\definition\\scenelinedefine.xml", MODE_READ), NOT_FOUND);
  EXPECT_CRITICAL_EXIT(CoreFile("data\\definition\\sceneLineDefine.xm", MODE_READ), NOT_FOUND);
  EXPECT_CRITICAL_EXIT(CoreFile(nullptr, MODE_READ), NOT_FOUND);
  EXPECT_CRITICAL_EXIT(CoreFile("data\\definition\\sceneLineDefine.xml", 1),
                       "Critical error:[mode==MODE_READ + \"can't write into packfile.\"]");
  EXPECT_CRITICAL_EXIT(FindPackEntry("data\\definition\\sceneLineDefine.xml", file, 3),
                       "Critical error:[mode==MODE_READ + \"can't write into packfile.\"]");
}

TEST_F(PackTest, TheFirstOfTwoEntriesWithOneNameWinsAndEmptyEntriesAreFound) {
  OpenPack({{"data\\a.txt", "first"}, {"data\\empty.bin", ""}, {"data\\a.txt", "second!"}});
  CoreFile file("data\\a.txt", MODE_READ);
  EXPECT_EQ(file.GetSize(), 5u);
  char bytes[6] = {};
  EXPECT_EQ(file.Read(bytes, 5), 5u);
  EXPECT_STREQ(bytes, "first");
  EXPECT_EQ(file.GetName(), "data\\a.txt");
  EXPECT_EQ(file.GetPosition(), 5u);

  CoreFile empty("data\\empty.bin", MODE_READ);
  EXPECT_EQ(empty.GetSize(), 0u);
  EXPECT_TRUE(empty.IsEof());
  EXPECT_EQ(PackageTable().Entries().size(), 3u);
}

TEST_F(PackTest, ACountLargerThanTheFileKeepsOnlyTheRecordsItHolds) {
  std::string bytes = Header("NUXAPACK", 1, 0xFFFFFFFFu) + Record("data\\x", 16 + 264 + 100, 3) + "abc";
  OpenPackBytes(bytes);
  ASSERT_EQ(PackageTable().Entries().size(), 1u);
  EXPECT_EQ(PackageTable().Header().numEntries, 0xFFFFFFFFu);
  CoreFile file("data\\x", MODE_READ);
  EXPECT_EQ(file.GetSize(), 0u) << "offset past the end holds no bytes";
  char buffer[8];
  EXPECT_EQ(file.Read(buffer, sizeof buffer), 0u);
  EXPECT_EQ(file.GetChar(), -1);
  EXPECT_EQ(file.GetLine(buffer, sizeof buffer), nullptr);
}

TEST_F(PackTest, SizesArePinnedToTheBytesTheFileHolds) {
  std::string bytes = Header("NUXAPACK", 1, 2) + Record("data\\big", 16 + 2 * 264, 0xFFFFFFF0u) +
                      Record("data\\near", 16 + 2 * 264 + 2, 100) + "0123456789";
  OpenPackBytes(bytes);
  CoreFile big("data\\big", MODE_READ);
  EXPECT_EQ(big.GetSize(), 10u);
  EXPECT_EQ(big.GetEntry().size, 0xFFFFFFF0u) << "the record itself is kept as stored";
  CoreFile near("data\\near", MODE_READ);
  EXPECT_EQ(near.GetSize(), 8u);
  std::string buffer(100, '\0');
  EXPECT_EQ(near.Read(buffer.data(), 100), 8u);
  EXPECT_EQ(buffer.substr(0, 8), "23456789");
}

TEST_F(PackTest, AHeaderWithoutACompleteRecordYieldsAnEmptyTable) {
  OpenPackBytes(Header("NUXAPACK", 1, 3) + std::string(200, 'x'));
  EXPECT_TRUE(PackageTable().Entries().empty());
}

TEST_F(PackTest, ANameThatFillsAllItsBytesIsBoundedByTheRecord) {
  std::string name(256, 'n');
  OpenPackBytes(Header("NUXAPACK", 1, 1) + Record(name, 16 + 264, 2) + "ok");
  CoreFile file(name.c_str(), MODE_READ);
  EXPECT_EQ(file.GetName(), name);
  EXPECT_EQ(file.GetSize(), 2u);
}

TEST_F(PackTest, ReopeningReplacesThePackAndClosingEndsReads) {
  OpenPack({{"data\\one", "1"}});
  CoreFile file("data\\one", MODE_READ);
  OpenPack({{"data\\two", "22"}});
  EXPECT_EQ(PackageTable().Find("data\\one"), nullptr);
  ASSERT_NE(PackageTable().Find("data\\two"), nullptr);
  ClosePackage();
  EXPECT_FALSE(PackageIsOpen());
  char c;
  EXPECT_EQ(file.Read(&c, 1), 0u);
  EXPECT_EQ(file.GetChar(), -1);
}

TEST(PackTable, ReadsAnyStreamAndReportsTheFirstFailedCheck) {
  std::string image = PackImage({{"data\\a", "A"}, {"data\\b", "BB"}});
  std::FILE* fp = fmemopen(image.data(), image.size(), "rb");
  PackTable table;
  EXPECT_EQ(table.Read(fp), PackStatus::Ok);
  ASSERT_EQ(table.Entries().size(), 2u);
  EXPECT_EQ(table.Entries()[1].offset, 16u + 2 * 264 + 1);
  EXPECT_EQ(table.Entries()[1].size, 2u);
  EXPECT_EQ(table.Find("data\\b"), &table.Entries()[1]);
  std::fclose(fp);

  std::string badVersion = Header("NUXAPACK", 7, 0);
  fp = fmemopen(badVersion.data(), badVersion.size(), "rb");
  EXPECT_EQ(table.Read(fp), PackStatus::BadVersion);
  EXPECT_TRUE(table.Entries().empty());
  std::fclose(fp);
}

}  // namespace
