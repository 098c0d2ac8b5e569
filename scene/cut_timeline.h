#pragma once
// The cut timeline of a demo scene: each scene of its animation file is one cut, as long as the
// scene's camera track, laid end to end in milliseconds.

#include <cstdint>
#include <vector>

struct CutSpan {
  int32_t start;  // ms, inclusive
  int32_t end;    // ms, inclusive
};

// seconds · 1000 truncated toward zero, held within 32 bits (a NaN gives the lowest value).
int32_t SaturatedMilliseconds(float seconds);

// Spans for scenes of the given lengths in seconds, accumulated in single precision and each end
// truncated toward zero, so the spans meet exactly where one scene ends and the next begins.
std::vector<CutSpan> BuildCutSpans(const std::vector<float>& sceneLengthsSeconds);

// Index of the first cut whose span holds position p, or -1.
int FindCut(const std::vector<CutSpan>& cuts, int32_t p);

// True when every position from first to last (inclusive) lies in some cut.
bool CutsCover(const std::vector<CutSpan>& cuts, int32_t first, int32_t last);

// (p - start) / (end - start); a cut of zero length gives 0 instead of 0 / 0.
float CutPhase(const CutSpan& cut, int32_t p);
