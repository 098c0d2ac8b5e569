// The stack of entry sources: loose files of a content folder standing in for pack entries (the
// developer mode), the policies for missing entries, and the player's reading, the pack alone.
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "core/critical.h"
#include "core/log.h"
#include "files/content_folder.h"
#include "files/content_folder_source.h"
#include "files/content_layout.h"
#include "files/core_file.h"
#include "files/entry_source.h"
#include "files/entry_text.h"
#include "files/missing_entry_policy.h"
#include "files/model_cache.h"
#include "files/pack_entry_source.h"
#include "tests/support/critical_exit.h"
#include "tests/support/pack_test.h"

namespace fs = std::filesystem;
using namespace files;

namespace {

constexpr char TRIANGLE_MQO[] =
    "Metasequoia Document\nFormat Text Ver 1.0\n\n"
    "Material 1 {\n\t\"skin\" col(1 1 1 1) tex(\"skin.png\")\n}\n"
    "Object \"tri\" {\n\tvisible 15\n\tvertex 3 {\n\t\t0 0 0\n\t\t1 0 0\n\t\t0 1 0\n\t}\n"
    "\tface 1 {\n\t\t3 V(0 1 2) M(0) UV(0 0 1 0 0 1)\n\t}\n}\nEof\n";

// The developer mode's stack: the folder over the pack, what neither holds tolerated or not.
std::shared_ptr<const ContentFolder> UseFolder(const fs::path& root, bool tolerated = false) {
  auto folder = std::make_shared<const ContentFolder>(root);
  EntrySourceStack sources;
  if (tolerated) sources.push_back(std::make_shared<EmptyWhenMissing>(EmptyWhenMissing::Report::Logged));
  sources.push_back(std::make_shared<PackEntrySource>());
  sources.push_back(std::make_shared<ContentFolderSource>(folder));
  SetEntrySources(std::move(sources));
  return folder;
}

class ContentFolderTest : public PackTest {
 protected:
  void SetUp() override {
    mFolder = fs::temp_directory_path() / ("torvane_content_" + std::to_string(::getpid()));
    fs::remove_all(mFolder);
    fs::create_directories(mFolder);
  }
  void TearDown() override {
    SetEntrySources(PlayerEntrySources());
    fs::remove_all(mFolder);
    PackTest::TearDown();
  }

  void WriteLoose(const std::string& relative, const std::string& text) {
    fs::path path = mFolder / relative;
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
  }

  fs::path mFolder;
};

// Without a folder of its own: the death test's child runs the fixture's set-up but never its
// tear-down.
class ContentFolderDeathTest : public PackTest {
 protected:
  void TearDown() override {
    SetEntrySources(PlayerEntrySources());
    PackTest::TearDown();
  }
};

TEST_F(ContentFolderTest, WithoutAFolderThePackAloneIsRead) {
  OpenPack({{"data\\a.txt", "packed"}});
  WriteLoose("data/a.txt", "loose");
  CoreFile file("data\\a.txt", MODE_READ);
  EXPECT_FALSE(file.IsLoose());
  EXPECT_EQ(ReadEntryText("data\\a.txt"), "packed");
}

TEST_F(ContentFolderTest, ALooseFileWinsOverThePackAndOthersStillComeFromThePack) {
  OpenPack({{"data\\a.txt", "packed"}, {"data\\b.txt", "only in the pack"}});
  WriteLoose("data/a.txt", "loose text");
  UseFolder(mFolder);
  CoreFile file("data\\a.txt", MODE_READ);
  EXPECT_TRUE(file.IsLoose());
  EXPECT_EQ(file.GetSize(), 10u);
  EXPECT_EQ(file.GetName(), "data\\a.txt");
  EXPECT_EQ(file.GetExtension(), "txt");
  EXPECT_EQ(ReadEntryText("data\\a.txt"), "loose text");
  EXPECT_EQ(ReadEntryText("data\\b.txt"), "only in the pack");
}

TEST_F(ContentFolderTest, LooseBytesReadLikeAnEntryButNothingFollowsThem) {
  UseFolder(mFolder);
  WriteLoose("data/lines.txt", "one\ntwo\nthree");
  CoreFile file("data\\lines.txt", MODE_READ);
  char line[64];
  ASSERT_NE(file.GetLine(line, sizeof line), nullptr);
  EXPECT_STREQ(line, "one\n");
  EXPECT_EQ(file.GetPosition(), 64u) << "the position moves by the buffer size, as for packed entries";

  file.Seek(4, 0);
  ASSERT_NE(file.GetLine(line, 3), nullptr);
  EXPECT_STREQ(line, "tw");
  file.Seek(8, 0);
  EXPECT_EQ(file.GetChar(), 't');
  char buffer[16] = {};
  EXPECT_EQ(file.Read(buffer, 10), 4u);
  EXPECT_STREQ(buffer, "hree");
  EXPECT_EQ(file.GetPosition(), 19u);
  EXPECT_EQ(file.GetChar(), -1);
  EXPECT_EQ(file.GetLine(line, sizeof line), nullptr);
  EXPECT_TRUE(file.IsEof());
}

TEST_F(ContentFolderTest, AFolderServesEntriesWithoutAnyPack) {
  auto folder = UseFolder(mFolder);
  WriteLoose("data/definition/x.xml", "<TRDataXml/>");
  EXPECT_EQ(ReadEntryText("data\\definition\\x.xml"), "<TRDataXml/>");
  EXPECT_TRUE(folder->FilePath("data/definition/x.xml").empty()) << "the player would not find that name in a pack";
}

TEST_F(ContentFolderTest, NamesThatWouldLeaveTheFolderAreNotLooseFiles) {
  auto folder = UseFolder(mFolder / "inner");
  WriteLoose("secret.txt", "outside");
  EXPECT_TRUE(folder->FilePath("data\\..\\..\\secret.txt").empty());
  EXPECT_EQ(folder->Read("..\\secret.txt"), nullptr);
  EXPECT_EQ(folder->FilePath("data\\x\\y.png"), mFolder / "inner" / "data" / "x" / "y.png");
  EXPECT_EQ(folder->PackNameOf(mFolder / "inner" / "data" / "x" / "y.png"), "data\\x\\y.png");
  EXPECT_EQ(folder->PackNameOf(mFolder / "secret.txt"), "");
}

TEST_F(ContentFolderTest, AMissingEntryIsAnEmptyFileAndALogLineWhenTolerated) {
  OpenPack({{"data\\a.txt", "packed"}});
  UseFolder(mFolder, true);
  ClearLogHistory();
  CoreFile file;
  EXPECT_FALSE(FindPackEntry("data\\gone.png", file, MODE_READ));
  EXPECT_EQ(file.GetSize(), 0u);
  EXPECT_EQ(file.GetName(), "data\\gone.png");
  char buffer[4];
  EXPECT_EQ(file.Read(buffer, 4), 0u);
  std::vector<LogMessage> history = LogHistory();
  ASSERT_FALSE(history.empty());
  EXPECT_EQ(history.back().level, LogLevel::Error);
  EXPECT_NE(history.back().text.find("data\\gone.png"), std::string::npos);
}

// Newest first: a later source hides an earlier one's entry of the same name; the policy for missing
// entries answers only for names nobody holds, and holds none itself.
TEST_F(ContentFolderTest, TheStackIsSearchedNewestFirst) {
  OpenPack({{"data\\a.txt", "packed"}, {"data\\b.txt", "packed b"}});
  WriteLoose("older/data/a.txt", "older");
  WriteLoose("older/data/c.txt", "older c");
  WriteLoose("newer/data/a.txt", "newer");
  SetEntrySources({std::make_shared<EmptyWhenMissing>(EmptyWhenMissing::Report::Silent), std::make_shared<PackEntrySource>(),
                   std::make_shared<ContentFolderSource>(std::make_shared<ContentFolder>(mFolder / "older")),
                   std::make_shared<ContentFolderSource>(std::make_shared<ContentFolder>(mFolder / "newer"))});
  EXPECT_EQ(ReadEntryText("data\\a.txt"), "newer");
  EXPECT_EQ(ReadEntryText("data\\c.txt"), "older c");
  EXPECT_EQ(ReadEntryText("data\\b.txt"), "packed b");
  EXPECT_TRUE(EntryExists("data\\c.txt"));
  EXPECT_FALSE(EntryExists("data\\gone.txt")) << "a policy holds nothing";

  // Fuzzing's policy: an entry with no bytes, found, and nothing said.
  ClearLogHistory();
  CoreFile file;
  EXPECT_TRUE(FindPackEntry("data\\gone.txt", file, MODE_READ));
  EXPECT_EQ(file.GetSize(), 0u);
  EXPECT_TRUE(LogHistory().empty());

  SetEntrySources(PlayerEntrySources());
  EXPECT_EQ(ReadEntryText("data\\a.txt"), "packed") << "the player's stack is the pack alone";
}

TEST_F(ContentFolderDeathTest, AMissingEntryStaysCriticalUnlessTolerated) {
  OpenPack({{"data\\a.txt", "packed"}});
  UseFolder(fs::temp_directory_path());
  EXPECT_CRITICAL_EXIT(CoreFile("data\\gone.png", MODE_READ), CRITICAL_FILE_NOT_FOUND);
}

TEST_F(ContentFolderTest, AModelCacheIsConvertedFromANewerDocumentBesideIt) {
  auto folder = UseFolder(mFolder);
  WriteLoose("data/model/tri.mqo", TRIANGLE_MQO);
  LooseBytes converted = folder->Read("data\\model\\tri.bmdl");
  ASSERT_NE(converted, nullptr) << "no cache yet: the document is converted";
  ModelData model;
  ASSERT_TRUE(ParseModelCache(converted->data(), converted->size(), model));
  ASSERT_EQ(model.materials.size(), 1u);
  EXPECT_EQ(model.materials[0].texture, "data\\model\\skin.png") << "resolved against the entry's folder";
  EXPECT_EQ(folder->Read("data\\model\\tri.bmdl"), converted) << "one conversion per version of the document";

  // A cache written after the document is the newer one: it is used as it stands.
  WriteLoose("data/model/tri.bmdl", "cache bytes");
  fs::last_write_time(mFolder / "data/model/tri.bmdl", fs::last_write_time(mFolder / "data/model/tri.mqo") +
                                                           std::chrono::seconds(5));
  LooseBytes cache = folder->Read("data\\model\\tri.bmdl");
  ASSERT_NE(cache, nullptr);
  EXPECT_EQ(std::string(cache->begin(), cache->end()), "cache bytes");
}

// The build's own layout: a source under models/ makes data\model\NAME.bmdl and replaces any cache
// the data folder holds.
TEST_F(ContentFolderTest, AModelSourceOfTheBuildReplacesAnyCache) {
  auto folder = UseFolder(mFolder);
  WriteLoose("models/tri.mqo", TRIANGLE_MQO);
  WriteLoose("data/model/tri.bmdl", "an old cache");
  fs::last_write_time(mFolder / "data/model/tri.bmdl", fs::last_write_time(mFolder / "models/tri.mqo") +
                                                           std::chrono::seconds(5));
  LooseBytes converted = folder->Read("data\\model\\tri.bmdl");
  ASSERT_NE(converted, nullptr);
  ModelData model;
  ASSERT_TRUE(ParseModelCache(converted->data(), converted->size(), model)) << "the source, not the newer cache";
  EXPECT_EQ(model.materials[0].texture, "data\\model\\skin.png");
  EXPECT_TRUE(folder->Has("data\\model\\tri.mqo"));
  EXPECT_FALSE(folder->Has("data\\model\\other.bmdl"));
  EXPECT_EQ(folder->PackNameOf(mFolder / "models" / "tri.mqo"), "data\\model\\tri.mqo");
  EXPECT_EQ(folder->PackNameOf(mFolder / "models" / "notes.txt"), "models\\notes.txt");
  EXPECT_EQ(folder->Read("data\\texture\\tri.bmdl"), nullptr) << "only the model folder's caches come from models/";
}

// The layout's names, shared by the loose files, the build and the checker.
TEST(ContentLayout, EntriesAndFilesMapOntoEachOther) {
  const std::vector<std::pair<std::string, std::string>> sources = {
      {"data\\model\\ship.bmdl", "models/ship.mqo"},
      {"data\\model\\ship.mqo", "models/ship.mqo"},
      {"data\\model\\ship.png", ""},
      {"data\\model\\sub\\ship.bmdl", ""},
      {"data\\model\\..bmdl", ""},
      {"data\\model\\.bmdl", ""},
      {"data\\texture\\ship.bmdl", ""},
  };
  for (const auto& [entry, source] : sources) EXPECT_EQ(ModelSourceOfEntry(entry).generic_string(), source) << entry;
  EXPECT_EQ(ModelCacheNameOfSource("models/ship.mqo"), "data\\model\\ship.bmdl");
  EXPECT_EQ(PackNameOfRelativePath("data/./x/y.png"), "data\\x\\y.png");
}

TEST_F(ContentFolderTest, ADocumentThatDoesNotConvertIsLoggedAndGivesNothing) {
  auto folder = UseFolder(mFolder);
  WriteLoose("data/model/bad.mqo", "Metasequoia Document\nFormat Text Ver 1.0\nObject \"x\" {\n\tvertex 1 {\n\t\t0 0 0\n\t}\n"
                                   "\tface 1 {\n\t\t3 V(0 1 2)\n\t}\n}\nEof\n");
  ClearLogHistory();
  EXPECT_EQ(folder->Read("data\\model\\bad.bmdl"), nullptr);
  std::vector<LogMessage> history = LogHistory();
  ASSERT_FALSE(history.empty());
  EXPECT_NE(history.back().text.find("bad.mqo"), std::string::npos);
}

}  // namespace
