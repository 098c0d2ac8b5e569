#pragma once
// The whole check of a production: the files it names, its definitions, scene animations, models,
// textures and effects, and its music, as findings an author can act on.

#include <cstdint>
#include <optional>
#include <string>

#include "production/production_files.h"
#include "production/production_finding.h"

class ContentFolderFiles;

struct ProductionCheckOptions {
  std::string musicPath;        // the music to probe; empty: the content folder's own, if any
  bool compileEffects = true;   // build effects on a hidden GL context when one can be made
};

struct ProductionCheckResult {
  ProductionFindings findings;  // sorted by file and line
  size_t sceneAnimations = 0;
  size_t models = 0;
  size_t effects = 0;
  size_t textures = 0;
  bool effectsCompiled = false;
  std::string compileNote;      // why effects were only parsed
  std::optional<uint32_t> musicLengthMs;
  std::string musicSource;
};

// folder: the same production as files when it is a content folder (for its music), else null.
ProductionCheckResult CheckProduction(const ProductionFiles& files, const ContentFolderFiles* folder,
                                      const ProductionCheckOptions& options);

// "N errors, M warnings in NAME (...)": the line after the findings.
std::string DescribeCheck(const ProductionFiles& files, const ProductionCheckResult& result);
