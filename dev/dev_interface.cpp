#include "dev/dev_interface.h"

#include <algorithm>

#include <imgui.h>

#include "dev/log_panel.h"
#include "dev/post_effect_panel.h"
#include "dev/timeline_panel.h"
#include "platform/imgui_backend.h"

namespace {

constexpr float TIMELINE_HEIGHT = 300.0f;
constexpr float SIDE_WIDTH = 420.0f;

// The first place of the next panel: the timeline goes along the bottom, the rest down the right.
void PlaceFirst(float x, float y, float width, float height) {
  ImGui::SetNextWindowPos(ImVec2(x, y), ImGuiCond_FirstUseEver);
  ImGui::SetNextWindowSize(ImVec2(width, height), ImGuiCond_FirstUseEver);
}

}  // namespace

DevInterface::DevInterface() = default;

DevInterface::~DevInterface() { Stop(); }

bool DevInterface::Start(platform::Window* window, platform::GLContext* context) {
  mStarted = platform::StartImGui(window, context);
  if (mStarted) mLog = std::make_unique<LogPanel>();
  return mStarted;
}

void DevInterface::Stop() {
  mLog.reset();
  if (mStarted) platform::StopImGui();
  mStarted = false;
}

bool DevInterface::WantsKeyboard() const { return mStarted && ImGui::GetIO().WantTextInput; }

void DevInterface::Draw(Transport& transport, const TimelineSnapshot& timeline, const GpuPassTimer& timer,
                        const FrameOutput::Placement& picture, int windowWidth, int windowHeight) {
  if (!mStarted) return;
  platform::BeginImGuiFrame();
  float width = static_cast<float>(windowWidth);
  float height = static_cast<float>(windowHeight);
  float sideX = std::max(0.0f, width - SIDE_WIDTH);
  float sideHeight = std::max(100.0f, (height - TIMELINE_HEIGHT) / 4.0f);
  mBuffers.DrawOverPicture(picture);
  PlaceFirst(0.0f, height - TIMELINE_HEIGHT, width, TIMELINE_HEIGHT);
  DrawTimelinePanel(transport, timeline);
  PlaceFirst(sideX, 0.0f, SIDE_WIDTH, sideHeight);
  DrawPostEffectPanel();
  PlaceFirst(sideX, sideHeight, SIDE_WIDTH, sideHeight);
  mBuffers.Draw();
  PlaceFirst(sideX, 2.0f * sideHeight, SIDE_WIDTH, sideHeight);
  mStats.Draw(timer);
  PlaceFirst(sideX, 3.0f * sideHeight, SIDE_WIDTH, sideHeight);
  mLog->Draw();
  platform::EndImGuiFrame();
}
