#include "dev/dev_interface.h"

#include <imgui.h>

#include "dev/log_panel.h"
#include "dev/panel_layout.h"
#include "dev/post_effect_panel.h"
#include "dev/timeline_panel.h"
#include "platform/imgui_backend.h"

namespace {

// The next panel's place: set again whenever the window has changed size, so that the panels
// never overlap each other or the picture; in between the author may move them.
void Place(const PanelRect& rect, bool again) {
  ImGui::SetNextWindowPos(ImVec2(rect.x, rect.y), again ? ImGuiCond_Always : ImGuiCond_FirstUseEver);
  ImGui::SetNextWindowSize(ImVec2(rect.width, rect.height), again ? ImGuiCond_Always : ImGuiCond_FirstUseEver);
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

void DevInterface::Draw(Transport& transport, TrackEditor& tracks, const MusicWaveform& waveform,
                        const TimelineSnapshot& timeline, const GpuPassTimer& timer, const FrameOutput::Placement& picture,
                        int windowWidth, int windowHeight) {
  if (!mStarted) return;
  platform::BeginImGuiFrame();
  const DevPanelLayout layout = LayOutDevPanels(windowWidth, windowHeight);
  const bool again = windowWidth != mLaidOutWidth || windowHeight != mLaidOutHeight;
  mLaidOutWidth = windowWidth;
  mLaidOutHeight = windowHeight;
  mBuffers.DrawOverPicture(picture);
  Place(layout.timeline, again);
  DrawTimelinePanel(transport, timeline);
  Place(layout.tracks, again);
  mTracks.Draw(tracks, transport, waveform);
  Place(layout.postEffects, again);
  DrawPostEffectPanel();
  Place(layout.buffers, again);
  mBuffers.Draw();
  Place(layout.stats, again);
  mStats.Draw(timer);
  Place(layout.log, again);
  mLog->Draw();
  platform::EndImGuiFrame();
}
