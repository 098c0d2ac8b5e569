#include "dev/tracker_view.h"

#include <algorithm>
#include <cmath>

#include "dev/track_editor.h"
#include "files/xml_writing.h"

namespace {

constexpr const char* INTERPOLATION_SIGNS[SYNC_INTERPOLATION_COUNT] = {"-", "/", "~", "^"};

// Whether row is a whole multiple of period (period may be fractional).
bool OnGrid(uint32_t row, double period) {
  if (period <= 0) return false;
  const double beats = row / period;
  return std::fabs(beats - std::round(beats)) < 1e-9;
}

// The first frame at or after the start of row: frames of a row are those that begin in it.
uint64_t FirstFrameOfRow(uint64_t row, double framesPerRow) {
  const double frame = std::ceil(static_cast<double>(row) * framesPerRow);
  return frame >= 1.8e19 ? UINT64_MAX : static_cast<uint64_t>(frame);
}

}  // namespace

FrameSpan FramesOfRows(const SyncDocument& document, uint32_t row, int rows, uint32_t sampleRate) {
  const double rowsPerSecond = document.bpm / 60.0 * document.rowsPerBeat;
  if (!(rowsPerSecond > 0.0) || !std::isfinite(rowsPerSecond) || rows <= 0) return {};
  const double framesPerRow = sampleRate / rowsPerSecond;
  return {FirstFrameOfRow(row, framesPerRow), FirstFrameOfRow(static_cast<uint64_t>(row) + static_cast<uint64_t>(rows), framesPerRow)};
}

RowMark MarkOfRow(uint32_t row, double rowsPerBeat) {
  if (OnGrid(row, rowsPerBeat * BEATS_PER_BAR)) return RowMark::Bar;
  return OnGrid(row, rowsPerBeat) ? RowMark::Beat : RowMark::None;
}

uint32_t FirstShownRow(uint32_t cursorRow, int lines, int rowsPerLine) {
  const uint32_t above = static_cast<uint32_t>(std::max(lines, 1) / 3) * static_cast<uint32_t>(std::max(rowsPerLine, 1));
  const uint32_t first = cursorRow > above ? cursorRow - above : 0;
  return first - first % static_cast<uint32_t>(std::max(rowsPerLine, 1));
}

std::string TrackerCellText(const SyncTrack& track, uint32_t row) {
  if (const SyncKey* key = FindSyncKey(track, row)) {
    return ShortestFloatText(key->value) + " " + INTERPOLATION_SIGNS[key->interpolation % SYNC_INTERPOLATION_COUNT];
  }
  const bool inside = !track.keys.empty() && row > track.keys.front().row && row < track.keys.back().row;
  return inside ? "\xC2\xB7" : "";
}

TrackerBlock CopyTrackerBlock(const SyncDocument& document, const std::vector<std::string>& tracks, uint32_t from,
                              uint32_t to) {
  TrackerBlock block;
  if (to < from) std::swap(from, to);
  block.rows = to - from + 1;
  for (const std::string& name : tracks) {
    std::vector<SyncKey> keys;
    if (const SyncTrack* track = FindSyncTrack(document, name)) {
      for (const SyncKey& key : track->keys) {
        if (key.row >= from && key.row <= to) keys.push_back({key.row - from, key.value, key.interpolation});
      }
    }
    block.tracks.push_back(std::move(keys));
  }
  return block;
}

void PasteTrackerBlock(TrackEditor& editor, const TrackerBlock& block, const std::vector<std::string>& tracks, uint32_t row) {
  editor.BeginGroup();
  for (size_t i = 0; i < block.tracks.size() && i < tracks.size(); ++i) {
    std::vector<uint32_t> cleared;
    if (const SyncTrack* track = FindSyncTrack(editor.Document(), tracks[i])) {
      for (const SyncKey& key : track->keys) {
        if (key.row >= row && key.row - row < block.rows) cleared.push_back(key.row);
      }
    }
    for (uint32_t old : cleared) editor.DeleteKey(tracks[i], old);
    for (const SyncKey& key : block.tracks[i]) {
      if (key.row > UINT32_MAX - row) continue;
      editor.SetKey(tracks[i], {row + key.row, key.value, key.interpolation});
    }
  }
  editor.EndGroup();
}
