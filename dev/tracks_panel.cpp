#include "dev/tracks_panel.h"

#include <algorithm>
#include <cstdio>

#include <imgui.h>

#include "dev/music_waveform.h"
#include "dev/track_editor.h"
#include "dev/transport.h"

namespace {

constexpr float LINE_HEIGHT = 16.0f;
constexpr float WAVE_WIDTH = 30.0f;
constexpr float ROW_LABEL_WIDTH = 52.0f;
constexpr float COLUMN_WIDTH = 84.0f;
constexpr float CURVE_HEIGHT = 80.0f;
constexpr int MAX_ROWS_PER_LINE = 16;
constexpr ImU32 BAR_COLOUR = IM_COL32(70, 70, 90, 255);
constexpr ImU32 BEAT_COLOUR = IM_COL32(45, 45, 58, 255);
constexpr ImU32 PLAYHEAD_COLOUR = IM_COL32(160, 40, 40, 160);
constexpr ImU32 CURSOR_COLOUR = IM_COL32(230, 200, 60, 255);
constexpr ImU32 SELECTION_COLOUR = IM_COL32(80, 120, 200, 90);
constexpr ImU32 BOOKMARK_COLOUR = IM_COL32(90, 200, 120, 255);
constexpr ImU32 TEXT_COLOUR = IM_COL32(235, 235, 235, 255);
constexpr ImU32 CURVE_COLOUR = IM_COL32(120, 200, 250, 255);
constexpr ImU32 WAVE_COLOUR = IM_COL32(110, 170, 130, 255);

bool IsBookmarked(const SyncDocument& document, uint32_t row) {
  return std::binary_search(document.bookmarks.begin(), document.bookmarks.end(), row);
}

}  // namespace

void TracksPanel::Draw(TrackEditor& editor, Transport& transport, const MusicWaveform& waveform) {
  mFocused = false;
  if (!ImGui::Begin("Tracks")) {
    ImGui::End();
    return;
  }
  const SyncDocument& document = editor.Document();
  const uint32_t playheadRow = static_cast<uint32_t>(SyncRowAt(document, transport.Time()));
  if (mFollow && transport.IsPlaying()) mRow = playheadRow - playheadRow % static_cast<uint32_t>(mRowsPerLine);
  DrawToolbar(editor, transport);
  mFocused = ImGui::IsWindowFocused(ImGuiFocusedFlags_RootAndChildWindows);
  if (mFocused && !ImGui::GetIO().WantTextInput) HandleKeys(editor);
  DrawGrid(editor, waveform, playheadRow, transport.IsPlaying());
  ImGui::End();
}

void TracksPanel::DrawToolbar(TrackEditor& editor, Transport& transport) {
  const SyncDocument& document = editor.Document();
  ImGui::Text("%.6g bpm, %.6g rows a beat; row %u", document.bpm, document.rowsPerBeat, mRow);
  ImGui::Checkbox("follow", &mFollow);
  ImGui::SameLine();
  if (ImGui::Button("-")) mRowsPerLine = std::min(mRowsPerLine * 2, MAX_ROWS_PER_LINE);
  ImGui::SameLine();
  if (ImGui::Button("+")) mRowsPerLine = std::max(mRowsPerLine / 2, 1);
  ImGui::SameLine();
  ImGui::Text("%d row%s a line", mRowsPerLine, mRowsPerLine == 1 ? "" : "s");
  ImGui::SameLine();
  if (ImGui::Button("undo")) editor.Undo();
  ImGui::SameLine();
  if (ImGui::Button("redo")) editor.Redo();
  ImGui::SameLine();
  if (ImGui::Button("bookmark")) editor.ToggleBookmark(mRow);
  ImGui::SameLine();
  if (ImGui::Button("go")) transport.Seek(SyncTimeOfRow(document, mRow));

  const std::vector<std::string> names = SelectedTracks(document);
  ImGui::SetNextItemWidth(90.0f);
  const bool typed = ImGui::InputFloat("##value", &mValue, 0.0f, 0.0f, "%.4g", ImGuiInputTextFlags_EnterReturnsTrue);
  ImGui::SameLine();
  const SyncTrack* track = mTrack < document.tracks.size() ? &document.tracks[mTrack] : nullptr;
  const SyncKey* key = track ? FindSyncKey(*track, mRow) : nullptr;
  if ((ImGui::Button("set") || typed) && track) {
    editor.SetKey(track->name, {mRow, mValue, key ? key->interpolation : static_cast<uint8_t>(SYNC_STEP)});
  }
  ImGui::SameLine();
  int interpolation = key ? key->interpolation : 0;
  ImGui::SetNextItemWidth(80.0f);
  if (ImGui::Combo("##interpolation", &interpolation, "step\0linear\0smooth\0ramp\0") && key) {
    editor.SetKey(track->name, {key->row, key->value, static_cast<uint8_t>(interpolation)});
  }
  ImGui::SameLine();
  if (ImGui::Button("delete") && key) editor.DeleteKey(track->name, mRow);
  ImGui::SetNextItemWidth(140.0f);
  ImGui::InputText("##newtrack", mNewTrack, sizeof mNewTrack);
  ImGui::SameLine();
  if (ImGui::Button("add track") && mNewTrack[0] != '\0') {
    editor.TrackNamed(mNewTrack);
    mNewTrack[0] = '\0';
  }
}

void TracksPanel::HandleKeys(TrackEditor& editor) {
  const SyncDocument& document = editor.Document();
  const ImGuiIO& io = ImGui::GetIO();
  if (io.KeyCtrl && ImGui::IsKeyPressed(ImGui::GetKeyIndex(ImGuiKey_Z))) editor.Undo();
  if (io.KeyCtrl && ImGui::IsKeyPressed(ImGui::GetKeyIndex(ImGuiKey_Y))) editor.Redo();
  if (io.KeyCtrl && ImGui::IsKeyPressed(ImGui::GetKeyIndex(ImGuiKey_C))) {
    mClipboard = CopyTrackerBlock(document, SelectedTracks(document), std::min(mRow, mMarkRow), std::max(mRow, mMarkRow));
  }
  if (io.KeyCtrl && ImGui::IsKeyPressed(ImGui::GetKeyIndex(ImGuiKey_V)) && mTrack < document.tracks.size()) {
    std::vector<std::string> targets;
    for (size_t i = mTrack; i < document.tracks.size() && targets.size() < mClipboard.tracks.size(); ++i) {
      targets.push_back(document.tracks[i].name);
    }
    PasteTrackerBlock(editor, mClipboard, targets, mRow);
  }
  if (mTrack >= document.tracks.size()) return;
  const std::string& name = document.tracks[mTrack].name;
  const SyncKey* key = FindSyncKey(document.tracks[mTrack], mRow);
  if (ImGui::IsKeyPressed(ImGui::GetKeyIndex(ImGuiKey_Delete)) && key) editor.DeleteKey(name, mRow);
  if (!io.KeyCtrl && ImGui::IsKeyPressed('I') && key) {
    editor.SetKey(name, {key->row, key->value, static_cast<uint8_t>((key->interpolation + 1) % SYNC_INTERPOLATION_COUNT)});
  }
  if (!io.KeyCtrl && ImGui::IsKeyPressed('B')) editor.ToggleBookmark(mRow);
  const uint32_t step = static_cast<uint32_t>(mRowsPerLine);
  if (ImGui::IsKeyPressed(ImGui::GetKeyIndex(ImGuiKey_DownArrow))) mRow += step;
  if (ImGui::IsKeyPressed(ImGui::GetKeyIndex(ImGuiKey_UpArrow))) mRow = mRow >= step ? mRow - step : 0;
  if (ImGui::IsKeyPressed(ImGui::GetKeyIndex(ImGuiKey_RightArrow)) && mTrack + 1 < document.tracks.size()) ++mTrack;
  if (ImGui::IsKeyPressed(ImGui::GetKeyIndex(ImGuiKey_LeftArrow)) && mTrack > 0) --mTrack;
  if (!io.KeyShift) {
    mMarkRow = mRow;
    mMarkTrack = mTrack;
  }
}

std::vector<std::string> TracksPanel::SelectedTracks(const SyncDocument& document) const {
  std::vector<std::string> names;
  const size_t first = std::min(mTrack, mMarkTrack);
  const size_t last = std::max(mTrack, mMarkTrack);
  for (size_t i = first; i <= last && i < document.tracks.size(); ++i) names.push_back(document.tracks[i].name);
  return names;
}

void TracksPanel::DrawGrid(TrackEditor& editor, const MusicWaveform& waveform, uint32_t playheadRow, bool playing) {
  const SyncDocument& document = editor.Document();
  const ImVec2 size = ImGui::GetContentRegionAvail();
  const float gridHeight = std::max(LINE_HEIGHT * 4.0f, size.y - CURVE_HEIGHT - 8.0f);
  const int lines = static_cast<int>(gridHeight / LINE_HEIGHT) - 1;
  const uint32_t firstRow = FirstShownRow(mRow, lines, mRowsPerLine);
  ImGui::BeginChild("rows", ImVec2(0.0f, gridHeight), false, ImGuiWindowFlags_HorizontalScrollbar);
  ImDrawList* draw = ImGui::GetWindowDrawList();
  const ImVec2 waveOrigin = ImGui::GetCursorScreenPos();
  DrawWaveform(document, waveform, firstRow, lines, waveOrigin);
  const ImVec2 origin(waveOrigin.x + WAVE_WIDTH, waveOrigin.y);
  const float width = ROW_LABEL_WIDTH + COLUMN_WIDTH * static_cast<float>(document.tracks.size());
  for (size_t t = 0; t < document.tracks.size(); ++t) {
    // A long name is cut at its column's edge rather than running into the next one.
    const float x = origin.x + ROW_LABEL_WIDTH + COLUMN_WIDTH * static_cast<float>(t);
    const ImVec4 column(x, origin.y, x + COLUMN_WIDTH - 4.0f, origin.y + LINE_HEIGHT);
    draw->AddText(ImGui::GetFont(), ImGui::GetFontSize(), ImVec2(x + 2.0f, origin.y), TEXT_COLOUR,
                  document.tracks[t].name.c_str(), nullptr, 0.0f, &column);
  }
  for (int line = 0; line < lines; ++line) {
    const uint32_t row = firstRow + static_cast<uint32_t>(line * mRowsPerLine);
    const float y = origin.y + LINE_HEIGHT * static_cast<float>(line + 1);
    const RowMark mark = MarkOfRow(row, document.rowsPerBeat);
    if (mark != RowMark::None) {
      draw->AddRectFilled(ImVec2(origin.x, y), ImVec2(origin.x + width, y + LINE_HEIGHT),
                          mark == RowMark::Bar ? BAR_COLOUR : BEAT_COLOUR);
    }
    if (playheadRow >= row && playheadRow - row < static_cast<uint32_t>(mRowsPerLine)) {
      draw->AddRectFilled(ImVec2(origin.x, y), ImVec2(origin.x + width, y + LINE_HEIGHT), playing ? PLAYHEAD_COLOUR : BEAT_COLOUR);
    }
    char label[16];
    std::snprintf(label, sizeof label, "%05u", row);
    draw->AddText(ImVec2(origin.x + 2.0f, y), IsBookmarked(document, row) ? BOOKMARK_COLOUR : TEXT_COLOUR, label);
    const uint32_t low = std::min(mRow, mMarkRow);
    const uint32_t high = std::max(mRow, mMarkRow);
    for (size_t t = 0; t < document.tracks.size(); ++t) {
      const ImVec2 cell(origin.x + ROW_LABEL_WIDTH + COLUMN_WIDTH * t, y);
      const ImVec2 cellEnd(cell.x + COLUMN_WIDTH - 2.0f, y + LINE_HEIGHT);
      const bool selected = row >= low && row <= high && t >= std::min(mTrack, mMarkTrack) && t <= std::max(mTrack, mMarkTrack);
      if (selected && low != high) draw->AddRectFilled(cell, cellEnd, SELECTION_COLOUR);
      if (row == mRow && t == mTrack) draw->AddRect(cell, cellEnd, CURSOR_COLOUR);
      draw->AddText(ImVec2(cell.x + 4.0f, y), TEXT_COLOUR, TrackerCellText(document.tracks[t], row).c_str());
      ImGui::SetCursorScreenPos(cell);
      ImGui::PushID(static_cast<int>(t * 100000 + static_cast<size_t>(line)));
      if (ImGui::InvisibleButton("cell", ImVec2(COLUMN_WIDTH - 2.0f, LINE_HEIGHT))) {
        mRow = row;
        mTrack = t;
        mFollow = false;
        if (!ImGui::GetIO().KeyShift) {
          mMarkRow = row;
          mMarkTrack = t;
        }
        if (const SyncKey* key = FindSyncKey(document.tracks[t], row)) mValue = key->value;
      }
      ImGui::PopID();
    }
  }
  ImGui::SetCursorScreenPos(ImVec2(waveOrigin.x, origin.y + LINE_HEIGHT * static_cast<float>(lines + 1)));
  ImGui::Dummy(ImVec2(WAVE_WIDTH + width, 1.0f));
  ImGui::EndChild();
  DrawCurve(document, firstRow, firstRow + static_cast<uint32_t>(lines * mRowsPerLine), playheadRow);
}

// Each line's lowest and highest sample as a bar across the column's middle.
void TracksPanel::DrawWaveform(const SyncDocument& document, const MusicWaveform& waveform, uint32_t firstRow, int lines,
                               ImVec2 origin) {
  ImDrawList* draw = ImGui::GetWindowDrawList();
  const uint32_t rate = waveform.SampleRate();
  if (rate == 0) {
    if (waveform.IsDecoding()) draw->AddText(origin, TEXT_COLOUR, "...");
    return;
  }
  std::vector<FrameSpan> spans;
  for (int line = 0; line < lines; ++line) {
    spans.push_back(FramesOfRows(document, firstRow + static_cast<uint32_t>(line * mRowsPerLine), mRowsPerLine, rate));
  }
  const std::vector<WaveformPeak> peaks = waveform.PeaksOf(spans);
  const float centre = origin.x + WAVE_WIDTH / 2.0f;
  const float reach = WAVE_WIDTH / 2.0f - 2.0f;
  for (int line = 0; line < lines; ++line) {
    const float y = origin.y + LINE_HEIGHT * static_cast<float>(line + 1);
    const float left = centre + reach * std::clamp(peaks[line].low, -1.0f, 0.0f);
    const float right = centre + reach * std::clamp(peaks[line].high, 0.0f, 1.0f);
    draw->AddRectFilled(ImVec2(left, y + 1.0f), ImVec2(std::max(right, left + 1.0f), y + LINE_HEIGHT - 1.0f), WAVE_COLOUR);
  }
}

void TracksPanel::DrawCurve(const SyncDocument& document, uint32_t firstRow, uint32_t lastRow, uint32_t playheadRow) {
  if (mTrack >= document.tracks.size() || lastRow <= firstRow) return;
  const SyncTrack& track = document.tracks[mTrack];
  const ImVec2 origin = ImGui::GetCursorScreenPos();
  const float width = std::max(ImGui::GetContentRegionAvail().x, 10.0f);
  ImGui::Dummy(ImVec2(width, CURVE_HEIGHT));
  constexpr int SAMPLES = 200;
  float values[SAMPLES];
  float low = 0.0f;
  float high = 0.0f;
  for (int i = 0; i < SAMPLES; ++i) {
    const double row = firstRow + (lastRow - firstRow) * static_cast<double>(i) / (SAMPLES - 1);
    values[i] = SyncTrackValue(track, row);
    low = i == 0 ? values[i] : std::min(low, values[i]);
    high = i == 0 ? values[i] : std::max(high, values[i]);
  }
  const float span = high > low ? high - low : 1.0f;
  ImDrawList* draw = ImGui::GetWindowDrawList();
  draw->AddRect(origin, ImVec2(origin.x + width, origin.y + CURVE_HEIGHT), BEAT_COLOUR);
  auto point = [&](int i) {
    return ImVec2(origin.x + width * static_cast<float>(i) / (SAMPLES - 1),
                  origin.y + CURVE_HEIGHT - 2.0f - (CURVE_HEIGHT - 4.0f) * (values[i] - low) / span);
  };
  for (int i = 1; i < SAMPLES; ++i) draw->AddLine(point(i - 1), point(i), CURVE_COLOUR, 1.5f);
  if (playheadRow >= firstRow && playheadRow <= lastRow) {
    const float x = origin.x + width * static_cast<float>(playheadRow - firstRow) / static_cast<float>(lastRow - firstRow);
    draw->AddLine(ImVec2(x, origin.y), ImVec2(x, origin.y + CURVE_HEIGHT), PLAYHEAD_COLOUR);
  }
  char range[64];
  std::snprintf(range, sizeof range, "%s  %.4g .. %.4g", track.name.c_str(), low, high);
  draw->AddText(ImVec2(origin.x + 4.0f, origin.y + 2.0f), TEXT_COLOUR, range);
}
