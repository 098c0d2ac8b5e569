// Output written where it is asked for: the folders on the way made, a failure said with its reason.
#include <filesystem>

#include <gtest/gtest.h>

#include "files/output_file.h"
#include "tests/support/temporary_folder.h"

namespace {

namespace fs = std::filesystem;

TEST(OutputFile, MakesTheFoldersOnTheWay) {
  TemporaryFolder folder;
  const std::string file = (folder.Path() / "shots/2026/a.png").string();
  std::string error;
  ASSERT_TRUE(WriteOutputFile(file, {1, 2, 3}, error)) << error;
  EXPECT_EQ(fs::file_size(file), 3u);
  ASSERT_TRUE(MakeOutputFolder((folder.Path() / "frames/x").string(), error)) << error;
  EXPECT_TRUE(fs::is_directory(folder.Path() / "frames/x"));
}

TEST(OutputFile, AFailedWriteSaysWhy) {
  TemporaryFolder folder;
  ASSERT_TRUE(WriteTextFile(folder.Path() / "plain", "a file"));
  struct Case {
    std::string file;
    std::string reason;
  };
  const std::string plain = (folder.Path() / "plain").string();
  const std::vector<Case> cases = {
      {plain + "/a.png", "cannot make the folder " + plain + ": " + plain + " is not a folder"},
      {plain + "/deeper/a.png", "cannot make the folder " + plain + "/deeper: " + plain + " is not a folder"},
      {folder.Path().string(), "cannot write " + folder.Path().string() + ": it is a folder"},
      {"/dev/full", "cannot write /dev/full: the disk is full"},
  };
  for (const Case& c : cases) {
    std::string error;
    EXPECT_FALSE(WriteOutputFile(c.file, std::vector<uint8_t>(1 << 16, 7), error)) << c.file;
    EXPECT_EQ(error, c.reason);
  }
  EXPECT_TRUE(fs::exists("/dev/full")) << "a device written to is not removed";
  EXPECT_EQ(WriteFailure("/nowhere/at/all/a.png", ENOENT), "cannot write /nowhere/at/all/a.png: the folder /nowhere/at/all does not exist");
}

}  // namespace
