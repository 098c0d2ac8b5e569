#pragma once
// The capture's progress: on a terminal one line redrawn in place with frames done of the total,
// frames per second, time elapsed and time left; elsewhere (a log, a pipe) the same text as a line
// of its own every minute. Once the first frames have been timed, one line estimates the whole
// recording's time. Silent with --quiet; the summary at the end is printed either way.

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>

enum class ProgressStyle { Hidden, InPlace, Lines };

class ProgressLine {
 public:
  ProgressLine(std::FILE* out, ProgressStyle style);
  void Start(int64_t total);
  // Redraws the line when it was last drawn a while ago (or when done reaches the total).
  void Update(int64_t done);
  // Clears the line (when drawn) and prints text as a line of its own.
  void Print(const std::string& text);
  // Clears the line when drawn, for a message that follows.
  void Clear();
  double ElapsedSeconds() const;

 private:
  using Clock = std::chrono::steady_clock;

  void Draw(int64_t done);

  std::FILE* mOut;
  ProgressStyle mStyle;
  bool mDrawn = false;
  bool mEstimated = false;
  int64_t mTotal = 0;
  Clock::time_point mStart;
  Clock::time_point mLastDraw;
};

// "1:05" or "1:02:05".
std::string FormatDuration(double seconds);
// The line's text, for done of total after seconds.
std::string ProgressText(int64_t done, int64_t total, double seconds);
// The estimate of the whole recording from its first done frames in seconds.
std::string EstimateText(int64_t done, int64_t total, double seconds);
