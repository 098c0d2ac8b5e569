#include "dev/timeline_panel.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include <imgui.h>

#include "demo/scene_line_table.h"
#include "resources/post_effect_manager.h"

namespace {

constexpr float ROW_HEIGHT = 16.0f;
constexpr float LABEL_WIDTH = 70.0f;
constexpr ImU32 SCENE_COLOUR = IM_COL32(70, 110, 170, 255);
constexpr ImU32 UNDRAWN_COLOUR = IM_COL32(90, 90, 90, 255);
constexpr ImU32 EFFECT_COLOUR = IM_COL32(150, 90, 160, 255);
constexpr ImU32 EFFECT_OFF_COLOUR = IM_COL32(70, 60, 75, 255);
constexpr ImU32 CUT_COLOUR = IM_COL32(230, 230, 230, 200);
constexpr ImU32 LOOP_COLOUR = IM_COL32(250, 200, 60, 50);
constexpr ImU32 PLAYHEAD_COLOUR = IM_COL32(255, 60, 60, 255);
constexpr ImU32 TEXT_COLOUR = IM_COL32(240, 240, 240, 255);

std::string TimeText(uint32_t ms) {
  char text[32];
  std::snprintf(text, sizeof text, "%u:%02u.%03u", ms / 60000, ms / 1000 % 60, ms % 1000);
  return text;
}

void DrawButtons(Transport& transport) {
  if (ImGui::Button(transport.IsPlaying() ? "pause" : "play")) transport.TogglePlay();
  ImGui::SameLine();
  if (ImGui::Button("|<")) transport.Seek(0);
  ImGui::SameLine();
  if (ImGui::Button("-1s")) transport.SeekBy(-1000);
  ImGui::SameLine();
  if (ImGui::Button("+1s")) transport.SeekBy(1000);
  ImGui::SameLine();
  bool loop = transport.Loop().on;
  if (ImGui::Checkbox("loop", &loop)) transport.ToggleLoop();
  ImGui::SameLine();
  bool half = transport.Speed() == PlaybackSpeed::Half;
  if (ImGui::Checkbox("half speed", &half)) transport.SetSpeed(half ? PlaybackSpeed::Half : PlaybackSpeed::Normal);
  ImGui::SameLine();
  bool muted = transport.IsMuted();
  if (ImGui::Checkbox("mute", &muted)) transport.SetMuted(muted);
  ImGui::SameLine();
  bool onTimer = transport.IsPlaying() && !transport.FollowsMusic();
  ImGui::Text("%s / %s%s", TimeText(transport.Time()).c_str(), TimeText(transport.Length()).c_str(),
              onTimer ? " (no music here: on the timer)" : "");
}

// A span's box on its row, its name clipped to it, and the tooltip with hovered.
void DrawSpan(ImDrawList* draw, ImVec2 from, ImVec2 to, ImU32 colour, const std::string& name) {
  draw->AddRectFilled(from, to, colour, 2.0f);
  draw->PushClipRect(from, to, true);
  draw->AddText(ImVec2(from.x + 3.0f, from.y + 1.0f), TEXT_COLOUR, name.c_str());
  draw->PopClipRect();
}

}  // namespace

uint32_t TimelineTimeAt(float x, float left, float width, uint32_t length) {
  if (width <= 0.0f) return 0;
  float share = std::clamp((x - left) / width, 0.0f, 1.0f);
  return static_cast<uint32_t>(static_cast<double>(share) * length + 0.5);
}

float TimelineXOf(uint32_t t, float left, float width, uint32_t length) {
  if (length == 0) return left;
  return left + width * static_cast<float>(std::min(t, length)) / static_cast<float>(length);
}

void DrawTimelinePanel(Transport& transport, const TimelineSnapshot& timeline) {
  if (!ImGui::Begin("Timeline")) {
    ImGui::End();
    return;
  }
  DrawButtons(transport);
  const size_t effectRows = timeline.postEffects.size();
  const float height = ROW_HEIGHT * static_cast<float>(SCENE_LINE_COUNT + effectRows) + 4.0f;
  ImVec2 origin = ImGui::GetCursorScreenPos();
  float width = std::max(ImGui::GetContentRegionAvail().x, LABEL_WIDTH + 50.0f);
  ImGui::InvisibleButton("track", ImVec2(width, height));
  bool hovered = ImGui::IsItemHovered();
  float left = origin.x + LABEL_WIDTH;
  float trackWidth = width - LABEL_WIDTH;
  uint32_t length = transport.Length();
  if (ImGui::IsItemActive() && ImGui::IsMouseDown(ImGuiMouseButton_Left)) {
    transport.Seek(TimelineTimeAt(ImGui::GetIO().MousePos.x, left, trackWidth, length));
  }

  ImDrawList* draw = ImGui::GetWindowDrawList();
  auto rowTop = [&](size_t row) { return origin.y + ROW_HEIGHT * static_cast<float>(row); };
  auto x = [&](uint32_t t) { return TimelineXOf(t, left, trackWidth, length); };
  for (int line = 0; line < SCENE_LINE_COUNT; ++line) {
    draw->AddText(ImVec2(origin.x, rowTop(line)), TEXT_COLOUR, ("line " + std::to_string(line)).c_str());
  }
  const SceneLineMark* hoveredScene = nullptr;
  for (const SceneLineMark& scene : timeline.scenes) {
    if (scene.line < 0 || scene.line >= SCENE_LINE_COUNT) continue;
    ImVec2 from(x(scene.start), rowTop(scene.line) + 1.0f);
    ImVec2 to(std::max(x(scene.end), from.x + 1.0f), rowTop(scene.line) + ROW_HEIGHT - 1.0f);
    DrawSpan(draw, from, to, scene.drawn ? SCENE_COLOUR : UNDRAWN_COLOUR, scene.tdfId);
    for (const CutMark& cut : scene.cuts) draw->AddLine(ImVec2(x(cut.start), from.y), ImVec2(x(cut.start), to.y), CUT_COLOUR);
    if (hovered && ImGui::IsMouseHoveringRect(from, to)) hoveredScene = &scene;
  }
  for (size_t row = 0; row < effectRows; ++row) {
    const PostEffectMark& effect = timeline.postEffects[row];
    size_t top = SCENE_LINE_COUNT + row;
    draw->AddText(ImVec2(origin.x, rowTop(top)), TEXT_COLOUR, ("effect " + std::to_string(effect.index)).c_str());
    bool on = effect.index < gPostEffectManager.entryCount() && gPostEffectManager.Entry(effect.index).enabled;
    DrawSpan(draw, ImVec2(x(effect.start), rowTop(top) + 1.0f),
             ImVec2(std::max(x(effect.end), x(effect.start) + 1.0f), rowTop(top) + ROW_HEIGHT - 1.0f),
             on ? EFFECT_COLOUR : EFFECT_OFF_COLOUR, effect.shader);
  }
  if (transport.Loop().on) {
    draw->AddRectFilled(ImVec2(x(transport.LoopStart()), origin.y), ImVec2(x(transport.LoopEnd()), origin.y + height),
                        LOOP_COLOUR);
  }
  float playhead = x(transport.Time());
  draw->AddLine(ImVec2(playhead, origin.y), ImVec2(playhead, origin.y + height), PLAYHEAD_COLOUR, 2.0f);

  if (hoveredScene) {
    ImGui::BeginTooltip();
    ImGui::Text("entry %d: %s on line %d, %u to %u ms, shader %s", hoveredScene->entry, hoveredScene->tdfId.c_str(),
                hoveredScene->line, hoveredScene->start, hoveredScene->end, hoveredScene->shader.c_str());
    for (const CutMark& cut : hoveredScene->cuts) ImGui::Text("  cut \"%s\" from %u ms", cut.scene.c_str(), cut.start);
    if (!hoveredScene->drawn) ImGui::TextUnformatted("  not drawn: no animation entry, or no room in its line");
    ImGui::EndTooltip();
  }
  ImGui::End();
}
