#pragma once
// The pure side of the tracks panel: which rows a tracker view shows, how rows are marked on the
// beat grid, which of the music's frames a line covers, what a cell says, and blocks of keys copied and pasted between rows and tracks.

#include <cstdint>
#include <string>
#include <vector>

#include "files/sync_document.h"

class TrackEditor;

constexpr int BEATS_PER_BAR = 4;

enum class RowMark { None, Beat, Bar };

// The mark of row on a grid of rowsPerBeat rows a beat.
RowMark MarkOfRow(uint32_t row, double rowsPerBeat);

// The first row of a view of lines lines, rowsPerLine rows each, that shows cursorRow a third of
// the way down (at the top near row 0).
uint32_t FirstShownRow(uint32_t cursorRow, int lines, int rowsPerLine);

// The music's frames [first, end) that play during a line of the view.
struct FrameSpan {
  uint64_t first = 0;
  uint64_t end = 0;
};

// The frames, at sampleRate a second, of rows [row, row + rows) on document's grid: the spans of
// neighbouring lines meet without a gap or an overlap. Empty for a tempo that is not positive.
FrameSpan FramesOfRows(const SyncDocument& document, uint32_t row, int rows, uint32_t sampleRate);

// A cell: the key's value and a sign of its interpolation ("1.5 /"), "·" on rows between keys,
// "" before the first key and after the last.
std::string TrackerCellText(const SyncTrack& track, uint32_t row);

// Keys of neighbouring tracks over rows [from, from + rows), rows kept relative to from.
struct TrackerBlock {
  uint32_t rows = 0;
  std::vector<std::vector<SyncKey>> tracks;
};

// The keys of the named tracks (a missing track copies as empty) on rows from..to, both included.
TrackerBlock CopyTrackerBlock(const SyncDocument& document, const std::vector<std::string>& tracks, uint32_t from,
                              uint32_t to);
// Pastes block at row into the named tracks, one per copied track from the first: the block's
// rows are cleared first, so that what is pasted is exactly what was copied. One undo step.
void PasteTrackerBlock(TrackEditor& editor, const TrackerBlock& block, const std::vector<std::string>& tracks, uint32_t row);
