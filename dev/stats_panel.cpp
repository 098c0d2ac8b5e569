#include "dev/stats_panel.h"

#include <algorithm>
#include <numeric>

#include <imgui.h>

void StatsPanel::AddFrame(float frameMs) {
  mTimes[mNext] = frameMs;
  mNext = (mNext + 1) % STATS_FRAMES;
  mCount = std::min(mCount + 1, STATS_FRAMES);
}

float StatsPanel::MeanMs() const {
  return mCount ? std::accumulate(mTimes.begin(), mTimes.begin() + mCount, 0.0f) / static_cast<float>(mCount) : 0.0f;
}

float StatsPanel::LeastMs() const { return mCount ? *std::min_element(mTimes.begin(), mTimes.begin() + mCount) : 0.0f; }

float StatsPanel::MostMs() const { return mCount ? *std::max_element(mTimes.begin(), mTimes.begin() + mCount) : 0.0f; }

void StatsPanel::Draw(const GpuPassTimer& timer) {
  if (!ImGui::Begin("Frame")) {
    ImGui::End();
    return;
  }
  ImGui::Text("frame %.2f ms (least %.2f, most %.2f) over %zu frames", MeanMs(), LeastMs(), MostMs(), mCount);
  // Oldest first: the ring is read from its next slot on once it has filled.
  size_t offset = mCount == STATS_FRAMES ? mNext : 0;
  ImGui::PlotLines("##frames", mTimes.data(), static_cast<int>(mCount), static_cast<int>(offset), nullptr, 0.0f,
                   std::max(MostMs() * 1.1f, 1.0f), ImVec2(-1.0f, 60.0f));
  if (!GpuPassTimer::Available()) {
    ImGui::TextUnformatted("GPU pass times: this driver has no GL_ARB_timer_query");
  } else if (ImGui::BeginTable("passes", 2, ImGuiTableFlags_RowBg | ImGuiTableFlags_Borders)) {
    ImGui::TableSetupColumn("pass");
    ImGui::TableSetupColumn("GPU ms");
    ImGui::TableHeadersRow();
    double total = 0.0;
    for (const PassTime& pass : timer.LastFrame()) {
      ImGui::TableNextRow();
      ImGui::TableNextColumn();
      ImGui::TextUnformatted(PassLabel(pass).c_str());
      ImGui::TableNextColumn();
      ImGui::Text("%.3f", pass.ms);
      total += pass.ms;
    }
    ImGui::TableNextRow();
    ImGui::TableNextColumn();
    ImGui::TextUnformatted("all passes");
    ImGui::TableNextColumn();
    ImGui::Text("%.3f", total);
    ImGui::EndTable();
  }
  ImGui::End();
}
