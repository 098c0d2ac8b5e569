#pragma once
// The one diagnostic path: tagged messages (level, subsystem, text) that go to stderr from the
// warning level up (TORVANE_LOG=debug|info|warning|error|off moves the threshold), are kept in a
// short history, and reach any sink added (the developer mode draws them on screen). Safe on any
// thread.

#include <cstdarg>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

enum class LogLevel { Debug, Info, Warning, Error, Off };

struct LogMessage {
  LogLevel level;
  std::string subsystem;  // "effect", "sound", "pack", ...
  std::string text;
};

// How many messages the history keeps; older ones are dropped first.
inline constexpr size_t LOG_HISTORY_SIZE = 256;

void Log(LogLevel level, const char* subsystem, const char* format, ...) __attribute__((format(printf, 3, 4)));
void LogText(LogLevel level, const char* subsystem, const std::string& text);
// Whether a message of level would reach anyone: callers skip formatting per-frame text otherwise.
bool LogWanted(LogLevel level);
// printf formatting into a string.
std::string FormatText(const char* format, va_list args);

// "debug", "info", "warning", "error".
const char* LogLevelName(LogLevel level);
// The stderr line of a message, without its newline: "[subsystem] level: text".
std::string FormatLogLine(const LogMessage& message);

// Messages below level no longer reach stderr (sinks and the history still get them).
void SetLogStderrLevel(LogLevel level);
LogLevel LogStderrLevel();

using LogSink = std::function<void(const LogMessage&)>;
// Adds a sink called for every message, on the thread that logs it; returns its handle.
int AddLogSink(LogSink sink);
void RemoveLogSink(int handle);

// The last LOG_HISTORY_SIZE messages of level info and up, oldest first.
std::vector<LogMessage> LogHistory();
void ClearLogHistory();
