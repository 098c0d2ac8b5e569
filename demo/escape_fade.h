#pragma once
// The Escape fade-out: music and picture fade together over ESCAPE_FADE_MS, then the demo ends.

#include <cstdint>
#include <optional>

constexpr uint32_t ESCAPE_FADE_MS = 3000;

struct EscapeFadeStep {
  bool goOn;           // false once the fade is over: the demo ends
  int32_t volume;      // hundredths of a decibel, 0 at the start, -10000 at the end
  float blackOpacity;  // opacity of the black quad drawn over the frame
};

class EscapeFade {
 public:
  // One step at timer value now; the first call starts the fade.
  EscapeFadeStep Step(uint32_t now);
  bool Started() const { return mStart.has_value(); }

 private:
  std::optional<uint32_t> mStart;
};
