#pragma once
// The tracks panel: sync tracks as columns and rows as lines, as in a tracker. Keys show their
// value and interpolation; the playhead's row is lit and followed while playing; beats and bars
// are marked. Typing a value sets a key on the cursor, I cycles its interpolation, Delete removes
// it, Ctrl+C/Ctrl+V copy and paste the selected block, Ctrl+Z/Ctrl+Y undo and redo, B marks a
// bookmark, +/- zoom. Left of the rows, the music's waveform over each line's time; beneath them,
// the selected track's curve.

#include <cstdint>
#include <string>

#include "dev/tracker_view.h"

struct ImVec2;

class MusicWaveform;
class TrackEditor;
class Transport;

class TracksPanel {
 public:
  void Draw(TrackEditor& editor, Transport& transport, const MusicWaveform& waveform);
  // Whether the panel had the keyboard in the last frame: its arrows move the cursor then.
  bool HasFocus() const { return mFocused; }

 private:
  void DrawToolbar(TrackEditor& editor, Transport& transport);
  void DrawGrid(TrackEditor& editor, const MusicWaveform& waveform, uint32_t playheadRow, bool playing);
  void DrawWaveform(const SyncDocument& document, const MusicWaveform& waveform, uint32_t firstRow, int lines, ImVec2 origin);
  void DrawCurve(const SyncDocument& document, uint32_t firstRow, uint32_t lastRow, uint32_t playheadRow);
  void HandleKeys(TrackEditor& editor);
  std::vector<std::string> SelectedTracks(const SyncDocument& document) const;

  size_t mTrack = 0;        // the cursor's column
  uint32_t mRow = 0;        // the cursor's row
  uint32_t mMarkRow = 0;    // the other end of the selected block (shift-click)
  size_t mMarkTrack = 0;
  int mRowsPerLine = 1;     // zoom
  bool mFollow = true;
  float mValue = 0.0f;
  char mNewTrack[64] = "";
  TrackerBlock mClipboard;
  bool mFocused = false;
};
