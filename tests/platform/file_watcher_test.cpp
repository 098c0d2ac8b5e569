// The content folder's watcher: files written and closed, moved in, removed, and folders made
// after the watch began.
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "platform/file_watcher.h"

namespace fs = std::filesystem;

namespace {

class FileWatcherTest : public ::testing::Test {
 protected:
  void SetUp() override {
    mFolder = fs::temp_directory_path() / ("torvane_watch_" + std::to_string(::getpid()));
    fs::remove_all(mFolder);
    fs::create_directories(mFolder / "data" / "texture");
  }
  void TearDown() override { fs::remove_all(mFolder); }

  // The changes reported within a second, as "+path" (written) and "-path" (removed), relative.
  std::vector<std::string> Changes(platform::FileWatcher& watcher, size_t expected) {
    std::vector<std::string> seen;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    while (seen.size() < expected && std::chrono::steady_clock::now() < deadline) {
      for (const platform::FileChange& change : watcher.Poll()) {
        seen.push_back((change.removed ? "-" : "+") + fs::path(change.path).lexically_relative(mFolder).string());
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return seen;
  }

  fs::path mFolder;
};

TEST_F(FileWatcherTest, ReportsFilesWrittenMovedInAndRemovedBelowTheFolder) {
  platform::FileWatcher watcher;
  std::string error;
  ASSERT_TRUE(watcher.Watch(mFolder.string(), error)) << error;
  EXPECT_TRUE(watcher.Poll().empty());

  {
    std::ofstream out(mFolder / "data" / "texture" / "sky.png");
    out << "half";
    out.flush();
    EXPECT_TRUE(watcher.Poll().empty()) << "not before the writer closes the file";
    out << " and the rest";
  }
  EXPECT_EQ(Changes(watcher, 1), std::vector<std::string>{"+data/texture/sky.png"});

  std::ofstream(mFolder / "staging.tmp") << "new version";
  fs::rename(mFolder / "staging.tmp", mFolder / "data" / "texture" / "noise.png");
  EXPECT_EQ(Changes(watcher, 3),
            (std::vector<std::string>{"+staging.tmp", "-staging.tmp", "+data/texture/noise.png"}));

  fs::remove(mFolder / "data" / "texture" / "sky.png");
  EXPECT_EQ(Changes(watcher, 1), std::vector<std::string>{"-data/texture/sky.png"});
}

// A file written into a new folder before the watcher has seen the folder has no event of its
// own: it is found when the folder is.
TEST_F(FileWatcherTest, FoldersMadeAfterTheStartAreWatchedWithWhatTheyHold) {
  platform::FileWatcher watcher;
  std::string error;
  ASSERT_TRUE(watcher.Watch(mFolder.string(), error)) << error;
  fs::create_directories(mFolder / "data" / "tdf");
  std::ofstream(mFolder / "data" / "tdf" / "opening.tdf") << "Scene {}";
  EXPECT_EQ(Changes(watcher, 1), std::vector<std::string>{"+data/tdf/opening.tdf"});
  std::ofstream(mFolder / "data" / "tdf" / "finale.tdf") << "Scene {}";
  EXPECT_EQ(Changes(watcher, 1), std::vector<std::string>{"+data/tdf/finale.tdf"});
}

TEST_F(FileWatcherTest, AFolderThatIsNotThereCannotBeWatched) {
  platform::FileWatcher watcher;
  std::string error;
  EXPECT_FALSE(watcher.Watch((mFolder / "missing").string(), error));
  EXPECT_FALSE(error.empty());
  EXPECT_TRUE(watcher.Poll().empty());
}

}  // namespace
