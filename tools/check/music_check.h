#pragma once
// The production's music as the player will meet it: a music file probed the way the player opens
// it, or, in a content folder, the score it is synthesised from.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "production/production_finding.h"

class ContentFolderFiles;

struct MusicFacts {
  std::string source;  // the file the length comes from; empty when there is none
  std::optional<uint32_t> lengthMs;
};

// Probes the music file at path.
MusicFacts CheckMusicFile(const std::filesystem::path& path, ProductionFindings& findings);

// The content folder's music: its one score, or music/music.ogg.
MusicFacts CheckContentMusic(const ContentFolderFiles& folder, ProductionFindings& findings);
