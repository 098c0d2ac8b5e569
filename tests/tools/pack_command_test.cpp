#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "files/core_file.h"
#include "files/pack_file.h"
#include "tests/support/run_command.h"
#include "tests/support/test_paths.h"

namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteFile(const fs::path& path, const std::string& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

class PackCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    mFolder = fs::temp_directory_path() / ("torvane-pack-command-" + std::to_string(getpid()));
    fs::remove_all(mFolder);
    fs::create_directories(mFolder);
  }
  void TearDown() override {
    ClosePackage();
    fs::remove_all(mFolder);
  }

  // A folder of files with binary content, nested folders and an empty file.
  std::vector<std::pair<std::string, std::string>> MakeSourceFolder() {
    std::mt19937 random(7);
    std::string binary;
    for (int i = 0; i < 70000; ++i) binary += char(random());
    std::vector<std::pair<std::string, std::string>> files = {
        {"data/definition/sceneLineDefine.xml", "<TRDataXml/>"},
        {"data/model/ship.bmdl", binary},
        {"data/empty.txt", ""},
        {"data/a b/c.d.e", std::string("zero\0bytes", 10)},
        {"top.txt", "top"},
    };
    for (const auto& [name, bytes] : files) WriteFile(mFolder / "in" / name, bytes);
    return files;
  }

  fs::path mFolder;
};

TEST_F(PackCommandTest, RoundTripsAFolderByteForByte) {
  auto files = MakeSourceFolder();
  std::string pack = (mFolder / "out.pak").string();
  CommandResult created = RunTool({"pack", "create", pack, (mFolder / "in").string()});
  ASSERT_EQ(created.status, 0) << created.err;

  for (const auto& [name, bytes] : files) {
    std::string entry = name;
    std::replace(entry.begin(), entry.end(), '/', '\\');
    std::string out = (mFolder / "extracted").string();
    CommandResult extracted = RunTool({"pack", "extract", pack, entry, out});
    ASSERT_EQ(extracted.status, 0) << extracted.err;
    EXPECT_EQ(ReadFile(out), bytes) << entry;
    CommandResult toStdout = RunTool({"pack", "extract", pack, entry});
    EXPECT_EQ(toStdout.out, bytes) << entry;
  }

  // The engine reads the same bytes.
  OpenPackage(pack.c_str());
  CoreFile ship("data\\model\\ship.bmdl", MODE_READ);
  std::string read(ship.GetSize(), '\0');
  EXPECT_EQ(ship.Read(read.data(), read.size()), read.size());
  EXPECT_EQ(read, files[1].second);
}

TEST_F(PackCommandTest, ListsEntriesInNameOrderWithOffsetsAndSizes) {
  MakeSourceFolder();
  std::string pack = (mFolder / "out.pak").string();
  ASSERT_EQ(RunTool({"pack", "create", pack, (mFolder / "in").string()}).status, 0);
  CommandResult listed = RunTool({"pack", "list", pack});
  ASSERT_EQ(listed.status, 0) << listed.err;
  uint32_t first = 16 + 5 * 264;
  std::string expected = "data\\a b\\c.d.e\t" + std::to_string(first) + "\t10\n" +
                         "data\\definition\\sceneLineDefine.xml\t" + std::to_string(first + 10) + "\t12\n" +
                         "data\\empty.txt\t" + std::to_string(first + 22) + "\t0\n" +
                         "data\\model\\ship.bmdl\t" + std::to_string(first + 22) + "\t70000\n" +
                         "top.txt\t" + std::to_string(first + 70022) + "\t3\n";
  EXPECT_EQ(listed.out, expected);

  // Packing again gives the same bytes.
  std::string again = (mFolder / "again.pak").string();
  ASSERT_EQ(RunTool({"pack", "create", again, (mFolder / "in").string()}).status, 0);
  EXPECT_EQ(ReadFile(pack), ReadFile(again));
}

TEST_F(PackCommandTest, RefusesWhatItCannotPackOrFind) {
  WriteFile(mFolder / "in" / std::string(120, 'a') / std::string(140, 'b'), "x");
  std::string pack = (mFolder / "out.pak").string();
  CommandResult tooLong = RunTool({"pack", "create", pack, (mFolder / "in").string()});
  EXPECT_NE(tooLong.status, 0);
  EXPECT_NE(tooLong.err.find("longer than 255 bytes"), std::string::npos) << tooLong.err;
  EXPECT_FALSE(fs::exists(pack));

  fs::create_directories(mFolder / "empty");
  EXPECT_NE(RunTool({"pack", "create", pack, (mFolder / "empty").string()}).status, 0);
  EXPECT_NE(RunTool({"pack", "create", pack, (mFolder / "missing").string()}).status, 0);

  WriteFile(mFolder / "ok" / "data" / "x.txt", "x");
  ASSERT_EQ(RunTool({"pack", "create", pack, (mFolder / "ok").string()}).status, 0);
  CommandResult missing = RunTool({"pack", "extract", pack, "data/x.txt"});
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.out, "");
  EXPECT_NE(RunTool({"pack", "extract", pack, "DATA\\X.TXT"}).status, 0);
  EXPECT_EQ(RunTool({"pack", "extract", pack, "data\\x.txt"}).out, "x");

  WriteFile(mFolder / "bad.pak", std::string("NUXAPACK\2\0\0\0\1\0\0\0", 16));
  CommandResult bad = RunTool({"pack", "list", (mFolder / "bad.pak").string()});
  EXPECT_EQ(bad.status, 1);
  EXPECT_NE(bad.err.find("invalid version"), std::string::npos) << bad.err;
  WriteFile(mFolder / "short.pak", "NUXA");
  EXPECT_NE(RunTool({"pack", "list", (mFolder / "short.pak").string()}).err.find("invalid header"), std::string::npos);
  EXPECT_EQ(RunTool({"pack", "frobnicate"}).status, 2);
  EXPECT_EQ(RunTool({"pack", "list"}).status, 2);
}

TEST_F(PackCommandTest, ExtractReadsOnlyWhatALyingEntryHolds) {
  std::string pack = ReadFile(SourcePath("fuzz/corpus/fuzz_pack/lying_sizes.pak"));
  ASSERT_FALSE(pack.empty());
  WriteFile(mFolder / "lying.pak", pack);
  CommandResult listed = RunTool({"pack", "list", (mFolder / "lying.pak").string()});
  ASSERT_EQ(listed.status, 0) << listed.err;
  CommandResult extracted = RunTool({"pack", "extract", (mFolder / "lying.pak").string(), "data\\huge"});
  EXPECT_EQ(extracted.status, 0) << extracted.err;
  EXPECT_LE(extracted.out.size(), pack.size());
}

TEST(PackBuildFunction, PacksAFolderAtBuildTime) {
  std::string pack = BinaryPath("tests/tools/pack_folder.pak");
  OpenPackage(pack.c_str());
  const fs::path folder = SourcePath("tests/data/files/pack_folder");
  int entries = 0;
  for (const auto& file : fs::recursive_directory_iterator(folder)) {
    if (!file.is_regular_file()) continue;
    std::string name = file.path().lexically_relative(folder).generic_string();
    std::replace(name.begin(), name.end(), '/', '\\');
    CoreFile entry(name.c_str(), MODE_READ);
    std::string bytes(entry.GetSize(), '\0');
    entry.Read(bytes.data(), bytes.size());
    EXPECT_EQ(bytes, ReadFile(file.path())) << name;
    ++entries;
  }
  EXPECT_EQ(size_t(entries), PackageTable().Entries().size());
  ClosePackage();
}

}  // namespace
