#pragma once
// A score file rendered to an Ogg Vorbis music file, as `synth` and `build` make the music.

#include <filesystem>
#include <string>

#include "tools/synth/music_master.h"

inline constexpr float DEFAULT_SYNTH_QUALITY = 0.4f;

// What a score's master line measured on the file written; unset for a score without one.
struct ScoreLoudness {
  bool mastered = false;
  LoudnessFigures figures;
};

// Reads score, renders, masters (when it has a master line) and encodes it with VBR quality
// (-0.1 to 1) and writes out (beside it first, renamed over it when whole). False with error set
// (naming the file, and the line of a score mistake) otherwise.
bool RenderScoreFile(const std::filesystem::path& score, const std::filesystem::path& out, float quality, std::string& error,
                     ScoreLoudness* loudness = nullptr);
