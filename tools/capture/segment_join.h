#pragma once
// Joins segments of one capture (each made with --frames A:B) into one file without re-encoding:
// their packets copied in frame order with the timestamps they already carry. Segments must
// follow each other without a gap or an overlap, in video and in sound, and be encoded alike;
// sound with encoder priming (AAC, Opus) cannot be joined sample for sample and is refused.

#include <string>
#include <vector>

// Writes outPath (container from its extension) under a temporary name and renames it when
// complete. False with error set, naming the segment at fault.
bool JoinSegments(const std::string& outPath, const std::vector<std::string>& segmentPaths, std::string& error);
