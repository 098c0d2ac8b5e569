// The tracks panel's pure side and the panels' layout: rows marked on the beat grid, the view
// following the cursor, cells, a block copied and pasted exactly as one undo step, and no panel
// over another or over the picture at 1280×720 and above.
#include <gtest/gtest.h>

#include "demo/production_tracks.h"
#include "dev/dev_keys.h"
#include "dev/panel_layout.h"
#include "dev/track_editor.h"
#include "dev/tracker_view.h"
#include "platform/key_codes.h"

namespace {

TEST(TrackerView, MarksBeatsAndBarsAndKeepsTheCursorInView) {
  EXPECT_EQ(MarkOfRow(0, 8), RowMark::Bar);
  EXPECT_EQ(MarkOfRow(8, 8), RowMark::Beat);
  EXPECT_EQ(MarkOfRow(32, 8), RowMark::Bar);
  EXPECT_EQ(MarkOfRow(33, 8), RowMark::None);
  EXPECT_EQ(MarkOfRow(3, 1.5), RowMark::Beat);
  EXPECT_EQ(MarkOfRow(6, 1.5), RowMark::Bar);
  EXPECT_EQ(FirstShownRow(5, 30, 1), 0u);
  EXPECT_EQ(FirstShownRow(100, 30, 1), 90u);
  EXPECT_EQ(FirstShownRow(100, 30, 4), 60u);
  EXPECT_EQ(FirstShownRow(101, 30, 4) % 4, 0u);
}

TEST(TrackerView, CellsShowKeysAndTheRowsBetweenThem) {
  const SyncTrack track{"t", {{4, 1.5f, SYNC_LINEAR}, {8, -2.0f, SYNC_RAMP}}, 0};
  EXPECT_EQ(TrackerCellText(track, 4), "1.5 /");
  EXPECT_EQ(TrackerCellText(track, 8), "-2 ^");
  EXPECT_EQ(TrackerCellText(track, 6), "\xC2\xB7");
  EXPECT_EQ(TrackerCellText(track, 3), "");
  EXPECT_EQ(TrackerCellText(track, 9), "");
}

TEST(TrackerView, APastedBlockIsWhatWasCopiedAndUndoesAsOne) {
  ProductionTracks tracks;
  TrackEditor editor(tracks);
  editor.SetKey("a", {10, 1.0f, SYNC_LINEAR});
  editor.SetKey("a", {12, 2.0f, SYNC_STEP});
  editor.SetKey("b", {11, 3.0f, SYNC_SMOOTH});
  editor.SetKey("a", {41, 9.0f, SYNC_STEP});  // inside the target rows: cleared by the paste
  editor.SetKey("a", {50, 7.0f, SYNC_STEP});  // outside them: kept
  const TrackerBlock block = CopyTrackerBlock(editor.Document(), {"a", "b", "missing"}, 12, 10);
  ASSERT_EQ(block.rows, 3u);
  ASSERT_EQ(block.tracks.size(), 3u);
  EXPECT_EQ(block.tracks[0].size(), 2u);
  EXPECT_TRUE(block.tracks[2].empty());

  PasteTrackerBlock(editor, block, {"a", "b"}, 40);
  auto rows = [&](const char* name) {
    std::vector<std::pair<uint32_t, float>> found;
    for (const SyncKey& key : FindSyncTrack(editor.Document(), name)->keys) found.emplace_back(key.row, key.value);
    return found;
  };
  using Keys = std::vector<std::pair<uint32_t, float>>;
  EXPECT_EQ(rows("a"), (Keys{{10, 1.0f}, {12, 2.0f}, {40, 1.0f}, {42, 2.0f}, {50, 7.0f}}));
  EXPECT_EQ(rows("b"), (Keys{{11, 3.0f}, {41, 3.0f}}));
  EXPECT_EQ(FindSyncKey(*FindSyncTrack(editor.Document(), "b"), 41)->interpolation, SYNC_SMOOTH);
  ASSERT_TRUE(editor.Undo());
  EXPECT_EQ(rows("a"), (Keys{{10, 1.0f}, {12, 2.0f}, {41, 9.0f}, {50, 7.0f}}));
  EXPECT_EQ(rows("b"), (Keys{{11, 3.0f}}));
}

TEST(TrackerView, OnlyTheArrowSeeksGiveWayToTheCursor) {
  using namespace platform;
  for (bool shift : {false, true}) {
    EXPECT_TRUE(IsArrowSeek(DevActionForKey(KEY_LEFT, shift)));
    EXPECT_TRUE(IsArrowSeek(DevActionForKey(KEY_RIGHT, shift)));
  }
  for (uint32_t key : {KEY_SPACE, KEY_HOME, KEY_PRIOR, KEY_NEXT, KEY_F1}) EXPECT_FALSE(IsArrowSeek(DevActionForKey(key, false))) << key;
}

TEST(PanelLayout, NothingOverlapsAt1280By720AndAbove) {
  for (const auto& [width, height] : std::vector<std::pair<int, int>>{{1280, 720}, {1366, 768}, {1920, 1080}, {2560, 1440}, {3840, 2160}, {1280, 1024}}) {
    const DevPanelLayout layout = LayOutDevPanels(width, height);
    const std::vector<PanelRect> all = {layout.picture, layout.tracks, layout.timeline, layout.postEffects,
                                        layout.buffers, layout.stats, layout.log};
    for (size_t i = 0; i < all.size(); ++i) {
      EXPECT_GT(all[i].width, 150.0f) << width << "x" << height << " #" << i;
      EXPECT_GT(all[i].height, 100.0f) << width << "x" << height << " #" << i;
      EXPECT_LE(all[i].x + all[i].width, static_cast<float>(width) + 0.01f) << width << "x" << height << " #" << i;
      EXPECT_LE(all[i].y + all[i].height, static_cast<float>(height) + 0.01f) << width << "x" << height << " #" << i;
      for (size_t j = i + 1; j < all.size(); ++j) {
        EXPECT_FALSE(PanelsOverlap(all[i], all[j])) << width << "x" << height << ": #" << i << " and #" << j;
      }
    }
  }
  EXPECT_TRUE(PanelsOverlap({0, 0, 10, 10}, {9, 9, 10, 10}));
  EXPECT_FALSE(PanelsOverlap({0, 0, 10, 10}, {10, 0, 10, 10}));
}

}  // namespace
