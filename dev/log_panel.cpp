#include "dev/log_panel.h"

#include <imgui.h>

namespace {

ImVec4 LevelColour(LogLevel level) {
  switch (level) {
    case LogLevel::Error: return ImVec4(1.0f, 0.4f, 0.4f, 1.0f);
    case LogLevel::Warning: return ImVec4(1.0f, 0.85f, 0.4f, 1.0f);
    case LogLevel::Debug: return ImVec4(0.6f, 0.6f, 0.6f, 1.0f);
    default: return ImVec4(0.85f, 0.85f, 0.85f, 1.0f);
  }
}

}  // namespace

LogPanel::LogPanel() {
  for (const LogMessage& message : LogHistory()) Add(message);
  mSink = AddLogSink([this](const LogMessage& message) {
    if (message.level >= LogLevel::Info) Add(message);
  });
}

LogPanel::~LogPanel() { RemoveLogSink(mSink); }

void LogPanel::Add(const LogMessage& message) {
  std::lock_guard<std::mutex> guard(mLock);
  mMessages.push_back(message);
  if (mMessages.size() > LOG_PANEL_LINES) mMessages.erase(mMessages.begin());
}

std::vector<LogMessage> LogPanel::Messages() {
  std::lock_guard<std::mutex> guard(mLock);
  return mMessages;
}

void LogPanel::Draw() {
  if (!ImGui::Begin("Log")) {
    ImGui::End();
    return;
  }
  ImGui::Checkbox("warnings and errors only", &mProblemsOnly);
  ImGui::SameLine();
  if (ImGui::Button("copy")) {
    std::string text;
    for (const LogMessage& message : Messages()) text += FormatLogLine(message) + "\n";
    ImGui::SetClipboardText(text.c_str());
  }
  ImGui::BeginChild("lines", ImVec2(0, 0), false, ImGuiWindowFlags_HorizontalScrollbar);
  std::vector<LogMessage> messages = Messages();
  for (const LogMessage& message : messages) {
    if (mProblemsOnly && message.level < LogLevel::Warning) continue;
    ImGui::PushStyleColor(ImGuiCol_Text, LevelColour(message.level));
    ImGui::TextUnformatted(FormatLogLine(message).c_str());
    ImGui::PopStyleColor();
  }
  // Follows new messages while the view is at the bottom.
  if (messages.size() != mShown && ImGui::GetScrollY() >= ImGui::GetScrollMaxY() - 1.0f) ImGui::SetScrollHereY(1.0f);
  mShown = messages.size();
  ImGui::EndChild();
  ImGui::End();
}
