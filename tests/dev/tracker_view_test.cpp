// The tracks panel's pure side and the panels' layout: rows marked on the beat grid, the view
// following the cursor, the music's frames of each line, cells, a block copied and pasted exactly as one undo step, and no panel
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

// The waveform beside the rows: each line's span of the music's frames, for tempos whose rows
// are whole frames and tempos whose rows are not, at every zoom.
TEST(TrackerView, EachLineCoversItsRowsFramesAndLinesMeet) {
  struct Grid {
    double bpm, rowsPerBeat;
    uint32_t rate;
    uint32_t row;
    int rows;
    FrameSpan expected;
  } const GRIDS[] = {
      {120, 8, 48000, 0, 1, {0, 3000}},          // 16 rows a second
      {120, 8, 48000, 10, 4, {30000, 42000}},
      {125, 8, 44100, 3, 2, {7938, 13230}},      // the showcase's grid: 60 ms rows
      {90, 6, 44100, 7, 16, {34300, 112700}},
      {133, 8, 44100, 1, 1, {2487, 4974}},       // 2486.8 frames a row: a frame begins in the row
      {120, 8, 48000, UINT32_MAX, 16, {12884901885000ull, 12884901933000ull}},
      {0, 8, 48000, 4, 1, {0, 0}},               // no tempo, no span
      {120, -1, 48000, 4, 1, {0, 0}},
      {120, 8, 48000, 4, 0, {0, 0}},
  };
  for (const Grid& grid : GRIDS) {
    SyncDocument document;
    document.bpm = grid.bpm;
    document.rowsPerBeat = grid.rowsPerBeat;
    SCOPED_TRACE(std::to_string(grid.bpm) + " bpm, row " + std::to_string(grid.row));
    const FrameSpan span = FramesOfRows(document, grid.row, grid.rows, grid.rate);
    EXPECT_EQ(span.first, grid.expected.first);
    EXPECT_EQ(span.end, grid.expected.end);
  }
  SyncDocument odd;
  odd.bpm = 133;
  odd.rowsPerBeat = 3;
  for (int zoom : {1, 2, 16}) {
    const FrameSpan whole = FramesOfRows(odd, 5, 40 * zoom, 44100);
    uint64_t at = whole.first;
    for (int line = 0; line < 40; ++line) {
      const FrameSpan span = FramesOfRows(odd, 5 + static_cast<uint32_t>(line * zoom), zoom, 44100);
      EXPECT_EQ(span.first, at) << "zoom " << zoom << ", line " << line;
      EXPECT_GT(span.end, span.first);
      at = span.end;
    }
    EXPECT_EQ(at, whole.end);
  }
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
