#include "tools/capture/progress_line.h"

#include <cinttypes>

namespace {

constexpr auto REDRAW_INTERVAL = std::chrono::milliseconds(250);
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

ProgressLine::ProgressLine(std::FILE* out, bool shown) : mOut(out), mShown(shown) {}

void ProgressLine::Start(int64_t total) {
  mTotal = total;
  mStart = Clock::now();
  mLastDraw = mStart - REDRAW_INTERVAL;
}

double ProgressLine::ElapsedSeconds() const {
  return std::chrono::duration<double>(Clock::now() - mStart).count();
}

void ProgressLine::Update(int64_t done) {
  if (!mShown) return;
  Clock::time_point now = Clock::now();
  if (now - mLastDraw < REDRAW_INTERVAL && done < mTotal) return;
  mLastDraw = now;
  std::fprintf(mOut, "\r%s%s", ProgressText(done, mTotal, ElapsedSeconds()).c_str(), CLEAR_TO_END);
  std::fflush(mOut);
  mDrawn = true;
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
