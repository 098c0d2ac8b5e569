#pragma once
// Which earlier frames a capture that starts at frame A must compose first. The buffers of the
// frame composition keep their contents from frame to frame (an idle line shows what it last
// drew, a work buffer what was last written to it), so frame A looks as in a whole capture only
// when every buffer it reads holds what the whole capture would have left there. Pure: the
// composition is described as steps that read and write buffers.

#include <cstdint>
#include <functional>
#include <vector>

// Buffers of the frame composition, as bit numbers of a mask.
constexpr int COMPOSITION_LINE_BUFFER = 0;   // line buffers 0 to 9: bits 0 to 9
constexpr int COMPOSITION_WORK_BUFFER = 10;  // work buffers 0 to 9: bits 10 to 19
constexpr int COMPOSITION_FINAL_BUFFER = 20;
constexpr int COMPOSITION_NO_BUFFER = -1;

using BufferMask = uint32_t;

constexpr BufferMask BufferBit(int buffer) { return buffer < 0 ? 0 : BufferMask{1} << buffer; }

// One step of a frame: it reads the buffers in reads (as they are when the step starts), then
// writes buffer write (or none).
struct CompositionStep {
  BufferMask reads = 0;
  int write = COMPOSITION_NO_BUFFER;
};

// The steps of frame n, in the order the composition runs them.
using FrameStepsFunction = std::function<std::vector<CompositionStep>(int64_t frame)>;

// The frames before first, ascending, that must be composed (each with everything it draws) so
// that every buffer frame first reads from an earlier frame holds what composing frames 0 to
// first - 1 in order would leave in it. Frames whose output nothing later reads are left out.
std::vector<int64_t> PlanWarmUp(int64_t first, const FrameStepsFunction& stepsOf);
