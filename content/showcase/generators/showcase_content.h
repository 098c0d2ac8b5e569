#pragma once
// Everything the showcase is made of, generated into a content folder: models, pictures, scene
// animations, definitions, the music's score and the feature table, each read back through the
// engine's readers before it is accepted, plus the hand-written files copied from source folders.

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "content/showcase/generators/generated_content.h"

struct ShowcaseOptions {
  std::filesystem::path fontDirectory;           // holds DejaVuSans.ttf, -Bold and Mono
  // Hand-written files: every file below a folder, copied under the prefix with its relative path.
  std::vector<std::pair<std::filesystem::path, std::string>> copyTrees;
};

// The content folder's path of the music's score, the feature table and the sync tracks.
inline constexpr char SHOWCASE_SCORE_PATH[] = "music/showcase.score";
inline constexpr char SHOWCASE_FEATURES_PATH[] = "features.tsv";
inline constexpr char SHOWCASE_TRACKS_PATH[] = "data/sync/tracks.xml";

// False with error naming the asset that failed its check, or the font that could not be read.
bool GenerateShowcase(const ShowcaseOptions& options, GeneratedContent& folder, std::string& error);
