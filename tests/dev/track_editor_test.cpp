// Editing tracks in the developer mode: undo and redo of the author's edits (a pasted block as
// one step), an editor's keys kept out of that history, saves written whole into the content
// folder, and our own save not read back as an outside change while another's is.
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "demo/production_tracks.h"
#include "dev/track_editor.h"
#include "files/content_folder.h"
#include "files/content_folder_source.h"
#include "files/missing_entry_policy.h"
#include "files/pack_file.h"
#include "tests/support/temporary_folder.h"

namespace {

class TrackEditorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto content = std::make_shared<const files::ContentFolder>(mFolder.Path());
    files::SetEntrySources({std::make_shared<files::EmptyWhenMissing>(files::EmptyWhenMissing::Report::Silent),
                            std::make_shared<files::ContentFolderSource>(content)});
    mEditor.SetContentFolder(mFolder.Path());
  }
  void TearDown() override { files::SetEntrySources(files::PlayerEntrySources()); }

  std::vector<uint32_t> Rows(const std::string& track) const {
    std::vector<uint32_t> rows;
    if (const SyncTrack* found = FindSyncTrack(mEditor.Document(), track)) {
      for (const SyncKey& key : found->keys) rows.push_back(key.row);
    }
    return rows;
  }

  TemporaryFolder mFolder;
  ProductionTracks mTracks;
  TrackEditor mEditor{mTracks};
};

TEST_F(TrackEditorTest, UndoAndRedoTheAuthorsEditsOnly) {
  mEditor.SetKey("fade", {0, 1.0f, SYNC_LINEAR});
  mEditor.SetKey("fade", {8, 2.0f, SYNC_STEP});
  mEditor.SetKey("fade", {8, 3.0f, SYNC_RAMP});
  mEditor.BeginGroup();
  mEditor.SetKey("flash", {4, 1.0f, SYNC_STEP});
  mEditor.SetKey("flash", {5, 0.0f, SYNC_STEP});
  mEditor.EndGroup();
  mEditor.SetKey("fade", {32, 9.0f, SYNC_STEP}, TrackEditSource::Editor);
  EXPECT_EQ(Rows("flash"), (std::vector<uint32_t>{4, 5}));

  ASSERT_TRUE(mEditor.Undo());
  EXPECT_TRUE(Rows("flash").empty()) << "the block goes as one";
  ASSERT_TRUE(mEditor.Undo());
  EXPECT_EQ(FindSyncKey(*FindSyncTrack(mEditor.Document(), "fade"), 8)->value, 2.0f) << "the replaced key is back";
  ASSERT_TRUE(mEditor.Redo());
  EXPECT_EQ(FindSyncKey(*FindSyncTrack(mEditor.Document(), "fade"), 8)->interpolation, SYNC_RAMP);
  ASSERT_TRUE(mEditor.DeleteKey("fade", 0));
  EXPECT_FALSE(mEditor.CanRedo()) << "a new edit ends the redo history";
  ASSERT_TRUE(mEditor.Undo());
  ASSERT_TRUE(mEditor.Undo());
  ASSERT_TRUE(mEditor.Undo());
  ASSERT_TRUE(mEditor.Undo());
  EXPECT_FALSE(mEditor.Undo());
  EXPECT_EQ(Rows("fade"), (std::vector<uint32_t>{32})) << "the editor's key is not ours to undo";
  EXPECT_FALSE(mEditor.DeleteKey("fade", 7));
}

TEST_F(TrackEditorTest, SavesWholeOnceEditsPauseAndKnowsItsOwnSave) {
  mEditor.Poll(1000);
  mEditor.SetKey("fade", {16, 0.5f, SYNC_SMOOTH});
  mEditor.ToggleBookmark(64);
  const std::filesystem::path file = mFolder.Path() / "data/sync/tracks.xml";
  mEditor.Poll(1000 + TRACK_SAVE_QUIET_MS - 1);
  EXPECT_FALSE(std::filesystem::exists(file)) << "not while edits go on";
  mEditor.Poll(1000 + TRACK_SAVE_QUIET_MS);
  ASSERT_TRUE(std::filesystem::exists(file));
  EXPECT_FALSE(std::filesystem::exists(file.string() + ".partial"));
  const std::string saved = ReadTextFile(file);
  EXPECT_NE(saved.find("<key row=\"16\" value=\"0.5\" interpolation=\"2\"/>"), std::string::npos) << saved;
  EXPECT_NE(saved.find("<bookmark row=\"64\"/>"), std::string::npos) << saved;

  std::string error;
  EXPECT_EQ(mTracks.Reload(error), ProductionTracks::Outcome::Unchanged) << "our own save coming back";
  ASSERT_TRUE(WriteTextFile(file, "<sync><tracks><track name=\"other\"/></tracks></sync>"));
  EXPECT_EQ(mTracks.Reload(error), ProductionTracks::Outcome::Loaded);
  EXPECT_NE(FindSyncTrack(mEditor.Document(), "other"), nullptr);
  ASSERT_TRUE(WriteTextFile(file, "<sync><tracks>"));
  EXPECT_EQ(mTracks.Reload(error), ProductionTracks::Outcome::Refused);
  EXPECT_FALSE(error.empty());
  EXPECT_NE(FindSyncTrack(mEditor.Document(), "other"), nullptr) << "the tracks loaded stay";
}

TEST_F(TrackEditorTest, WithoutAContentFolderASaveFailsSayingWhy) {
  mEditor.SetContentFolder("");
  mEditor.SetKey("fade", {0, 1.0f, SYNC_STEP});
  std::string error;
  EXPECT_FALSE(mEditor.Save(error));
  EXPECT_NE(error.find("content folder"), std::string::npos) << error;
}

}  // namespace
