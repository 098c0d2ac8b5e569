#include "core/log.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <map>
#include <mutex>

#include "platform/library_noise.h"

namespace {

struct LogState {
  std::mutex mutex;
  LogLevel stderrLevel = LevelFromEnvironment();
  std::deque<LogMessage> history;
  std::map<int, LogSink> sinks;
  int nextHandle = 1;

  static LogLevel LevelFromEnvironment() {
    const char* value = std::getenv("TORVANE_LOG");
    if (!value) return LogLevel::Warning;
    for (LogLevel level : {LogLevel::Debug, LogLevel::Info, LogLevel::Warning, LogLevel::Error, LogLevel::Off}) {
      if (std::strcmp(value, LogLevelName(level)) == 0) return level;
    }
    return LogLevel::Warning;
  }
};

void LogLibraryNoise(const char* line) { LogText(LogLevel::Debug, "library", line); }

// What libraries print on their own at start-up reaches the author only when asked for.
const bool gLibraryNoiseLogged = (platform::SetLibraryNoiseSink(LogLibraryNoise), true);

// Built on first use: messages may be logged while static objects are still being constructed.
LogState& State() {
  static LogState* state = new LogState;
  return *state;
}

}  // namespace

const char* LogLevelName(LogLevel level) {
  switch (level) {
    case LogLevel::Debug: return "debug";
    case LogLevel::Info: return "info";
    case LogLevel::Warning: return "warning";
    case LogLevel::Error: return "error";
    case LogLevel::Off: return "off";
  }
  return "off";
}

std::string FormatLogLine(const LogMessage& message) {
  return "[" + message.subsystem + "] " + LogLevelName(message.level) + ": " + message.text;
}

void LogText(LogLevel level, const char* subsystem, const std::string& text) {
  if (level == LogLevel::Off) return;
  LogMessage message{level, subsystem ? subsystem : "", text};
  while (!message.text.empty() && message.text.back() == '\n') message.text.pop_back();
  LogState& state = State();
  std::vector<LogSink> sinks;
  {
    std::lock_guard<std::mutex> lock(state.mutex);
    if (level >= LogLevel::Info) {
      state.history.push_back(message);
      if (state.history.size() > LOG_HISTORY_SIZE) state.history.pop_front();
    }
    if (level >= state.stderrLevel) {
      std::fprintf(stderr, "%s\n", FormatLogLine(message).c_str());
      std::fflush(stderr);
    }
    for (const auto& [handle, sink] : state.sinks) sinks.push_back(sink);
  }
  for (const LogSink& sink : sinks) sink(message);
}

std::string FormatText(const char* format, va_list args) {
  va_list copy;
  va_copy(copy, args);
  int size = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  std::string text(size > 0 ? static_cast<size_t>(size) : 0, '\0');
  if (size > 0) std::vsnprintf(text.data(), text.size() + 1, format, args);
  return text;
}

void Log(LogLevel level, const char* subsystem, const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string text = FormatText(format, args);
  va_end(args);
  LogText(level, subsystem, text);
}

bool LogWanted(LogLevel level) {
  std::lock_guard<std::mutex> lock(State().mutex);
  return level >= LogLevel::Info || level >= State().stderrLevel || !State().sinks.empty();
}

void SetLogStderrLevel(LogLevel level) {
  std::lock_guard<std::mutex> lock(State().mutex);
  State().stderrLevel = level;
}

LogLevel LogStderrLevel() {
  std::lock_guard<std::mutex> lock(State().mutex);
  return State().stderrLevel;
}

int AddLogSink(LogSink sink) {
  std::lock_guard<std::mutex> lock(State().mutex);
  int handle = State().nextHandle++;
  State().sinks[handle] = std::move(sink);
  return handle;
}

void RemoveLogSink(int handle) {
  std::lock_guard<std::mutex> lock(State().mutex);
  State().sinks.erase(handle);
}

std::vector<LogMessage> LogHistory() {
  std::lock_guard<std::mutex> lock(State().mutex);
  return std::vector<LogMessage>(State().history.begin(), State().history.end());
}

void ClearLogHistory() {
  std::lock_guard<std::mutex> lock(State().mutex);
  State().history.clear();
}
