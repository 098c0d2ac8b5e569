#include "app/software_renderer_notice.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace {

std::string Lowered(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

}  // namespace

bool IsSoftwareRenderer(const std::string& rendererName) {
  const std::string name = Lowered(rendererName);
  for (const char* mark : {"llvmpipe", "softpipe", "swrast", "software"}) {
    if (name.find(mark) != std::string::npos) return true;
  }
  return false;
}

SoftwareRendererNotice::SoftwareRendererNotice(std::string rendererName)
    : mRenderer(std::move(rendererName)), mPending(IsSoftwareRenderer(mRenderer)) {}

std::optional<std::string> SoftwareRendererNotice::Observe(uint64_t composedFrames, uint32_t nowMs) {
  if (!mPending || composedFrames == 0) return std::nullopt;
  if (!mCounting) {
    mCounting = true;
    mFirstFrame = composedFrames;
    mFirstMs = nowMs;
    return std::nullopt;
  }
  const uint32_t elapsed = nowMs - mFirstMs;
  if (elapsed < SOFTWARE_NOTICE_AFTER_MS) return std::nullopt;
  mPending = false;
  const double rate = static_cast<double>(composedFrames - mFirstFrame) * 1000.0 / elapsed;
  char text[512];
  std::snprintf(text, sizeof text,
                "drawing in software on \"%s\", without a GPU driver: %.1f frames a second over the first %.0f seconds of "
                "the demo",
                mRenderer.c_str(), rate, elapsed / 1000.0);
  return std::string(text);
}
