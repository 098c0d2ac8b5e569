#pragma once
// On a software renderer the player is slow without saying why: once the demo has played for a
// few seconds, this says which renderer draws and the frame rate it reached, so the viewer knows
// the machine is the reason. Nothing else about playing changes.

#include <cstdint>
#include <optional>
#include <string>

inline constexpr uint32_t SOFTWARE_NOTICE_AFTER_MS = 3000;

// Whether GL_RENDERER names a renderer that draws on the CPU (Mesa's llvmpipe, softpipe, swrast;
// the "software rasterizer" of other drivers).
bool IsSoftwareRenderer(const std::string& rendererName);

class SoftwareRendererNotice {
 public:
  explicit SoftwareRendererNotice(std::string rendererName);
  // Called after every frame step with the demo's composed frame count and the time. Returns the
  // text once, SOFTWARE_NOTICE_AFTER_MS after the first composed frame, on a software renderer
  // only.
  std::optional<std::string> Observe(uint64_t composedFrames, uint32_t nowMs);

 private:
  std::string mRenderer;
  bool mPending;
  bool mCounting = false;
  uint64_t mFirstFrame = 0;
  uint32_t mFirstMs = 0;
};
