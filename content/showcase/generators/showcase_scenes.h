#pragma once
// The showcase's picture, section by section, from the shared timeline: the scene animations of
// every scene line, the scene-line, animation, post-effect and custom-texture definitions, the sync
// tracks their constants follow, and the table of engine features with the times they are on screen.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "content/showcase/generators/definitions.h"
#include "content/showcase/generators/tdf_writer.h"
#include "files/sync_document.h"

struct TextAtlas;

// Scene lines: what each of the four layers carries.
inline constexpr int LINE_MAIN = 0;   // the section's scene
inline constexpr int LINE_TEXT = 1;   // captions, subtitle and credits in the fixed front view
inline constexpr int LINE_SWARM = 2;  // shards drawn by the swarm cut class

// One engine feature, a moment it is on screen, and how to take it out of the production to see
// that it matters: replace `remove` by `replacement` in the pack entry `file`.
struct FeatureCheck {
  std::string feature;
  uint32_t time;
  std::string file;
  std::string remove;
  std::string replacement;
};

struct GeneratedTdf {
  std::string path;  // under the content folder
  TdfFile spec;
  std::string text;
};

struct ShowcasePicture {
  std::vector<GeneratedTdf> tdfFiles;
  Definitions definitions;
  SyncDocument tracks;  // data\sync\tracks.xml
  std::vector<FeatureCheck> features;
};

ShowcasePicture BuildShowcasePicture(const TextAtlas& atlas);

// The feature table as tab-separated lines: feature, time, file, text removed, replacement.
std::string WriteFeatureTable(const std::vector<FeatureCheck>& features);
