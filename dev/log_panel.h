#pragma once
// The log drawn in the developer mode: the messages since the start (the log's history first),
// coloured by level, with effect compile errors as the compiler gave them (file:line: text).

#include <mutex>
#include <string>
#include <vector>

#include "core/log.h"

inline constexpr size_t LOG_PANEL_LINES = 1000;

class LogPanel {
 public:
  // Takes the history and listens from now on.
  LogPanel();
  ~LogPanel();
  LogPanel(const LogPanel&) = delete;
  LogPanel& operator=(const LogPanel&) = delete;

  void Draw();
  // The messages kept, oldest first (at most LOG_PANEL_LINES).
  std::vector<LogMessage> Messages();

 private:
  void Add(const LogMessage& message);

  std::mutex mLock;  // the music's thread may log too
  std::vector<LogMessage> mMessages;
  int mSink = 0;
  bool mProblemsOnly = false;
  size_t mShown = 0;
};
