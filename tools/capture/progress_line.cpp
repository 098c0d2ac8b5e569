#include "tools/capture/progress_line.h"

#include <cinttypes>

namespace {

constexpr auto REDRAW_INTERVAL = std::chrono::milliseconds(250);
constexpr auto LINE_INTERVAL = std::chrono::seconds(60);
// Long enough for the rate to settle past the first frames' compiling and loading.
constexpr double ESTIMATE_AFTER_SECONDS = 15.0;
// Clears from the cursor to the end of the line.
constexpr const char CLEAR_TO_END[] = "\x1b[K";

}  // namespace

std::string FormatDuration(double seconds) {
  long total = seconds > 0 ? static_cast<long>(seconds + 0.5) : 0;
  char text[32];
  if (total >= 3600) {
    std::snprintf(text, sizeof text, "%ld:%02ld:%02ld", total / 3600, total / 60 % 60, total % 60);
  } else {
    std::snprintf(text, sizeof text, "%ld:%02ld", total / 60, total % 60);
  }
  return text;
}

std::string ProgressText(int64_t done, int64_t total, double seconds) {
  double rate = seconds > 0 ? static_cast<double>(done) / seconds : 0.0;
  std::string eta = rate > 0 ? FormatDuration(static_cast<double>(total - done) / rate) : "?";
  char text[160];
  std::snprintf(text, sizeof text, "frame %" PRId64 "/%" PRId64 " (%d%%)  %.1f fps  elapsed %s  ETA %s", done, total,
                total ? static_cast<int>(done * 100 / total) : 100, rate, FormatDuration(seconds).c_str(), eta.c_str());
  return text;
}

std::string EstimateText(int64_t done, int64_t total, double seconds) {
  const double rate = seconds > 0 ? static_cast<double>(done) / seconds : 0.0;
  char text[160];
  std::snprintf(text, sizeof text, "torvane-tool capture: about %s to record %" PRId64 " frames (%.1f fps over the first %" PRId64 ")",
                rate > 0 ? FormatDuration(static_cast<double>(total) / rate).c_str() : "?", total, rate, done);
  return text;
}

ProgressLine::ProgressLine(std::FILE* out, ProgressStyle style) : mOut(out), mStyle(style) {}

void ProgressLine::Start(int64_t total) {
  mTotal = total;
  mStart = Clock::now();
  mLastDraw = mStart - REDRAW_INTERVAL;
}

double ProgressLine::ElapsedSeconds() const {
  return std::chrono::duration<double>(Clock::now() - mStart).count();
}

void ProgressLine::Update(int64_t done) {
  if (mStyle == ProgressStyle::Hidden) return;
  const double seconds = ElapsedSeconds();
  if (!mEstimated && seconds >= ESTIMATE_AFTER_SECONDS && done > 0 && done < mTotal) {
    mEstimated = true;
    Print(EstimateText(done, mTotal, seconds));
  }
  const Clock::time_point now = Clock::now();
  const auto interval = mStyle == ProgressStyle::InPlace ? Clock::duration(REDRAW_INTERVAL) : Clock::duration(LINE_INTERVAL);
  if (now - mLastDraw < interval && (done < mTotal || mStyle == ProgressStyle::Lines)) return;
  mLastDraw = now;
  Draw(done);
}

void ProgressLine::Draw(int64_t done) {
  const std::string text = ProgressText(done, mTotal, ElapsedSeconds());
  if (mStyle == ProgressStyle::Lines) {
    std::fprintf(mOut, "%s\n", text.c_str());
  } else {
    std::fprintf(mOut, "\r%s%s", text.c_str(), CLEAR_TO_END);
    mDrawn = true;
  }
  std::fflush(mOut);
}

void ProgressLine::Clear() {
  if (mDrawn) std::fprintf(mOut, "\r%s", CLEAR_TO_END);
  mDrawn = false;
}

void ProgressLine::Print(const std::string& text) {
  Clear();
  std::fprintf(mOut, "%s\n", text.c_str());
  std::fflush(mOut);
}
