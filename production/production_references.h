#pragma once
// What a production's files name, checked for being there: the files every production needs,
// the scene lines' scene animations and effects, the scene animations' models, the models'
// effects and textures, the post-effects' effects and the custom textures. Each missing one is an
// error naming the file and line that named it. The player runs this when a file it needs is
// missing, to say who named it; the checker builds its further checks on what it found.

#include <map>
#include <string>
#include <vector>

#include "production/production_files.h"
#include "production/production_finding.h"

struct RequiredProductionFile {
  const char* path;
  const char* role;
};

// The files the player loads whatever the production's definitions say.
const std::vector<RequiredProductionFile>& RequiredProductionFiles();

// Where a file is first named: the file (as the author sees it) and the line.
struct NamingSite {
  std::string file;
  int line = 0;
};

struct ProductionReferences {
  std::vector<std::string> tdfPaths;                // the scene animations the player loads, in order
  std::vector<std::string> effectPaths;             // every effect it loads (that is there)
  std::vector<std::string> texturePaths;            // every texture it loads (that is there)
  std::map<std::string, NamingSite> textureSites;   // where each texture a definition or model names is named first
  std::map<std::string, ProductionModel> models;    // by cache path: every model it loads that reads
  std::map<std::string, std::string> modelSources;  // cache path to the first scene animation naming it
};

ProductionReferences FindProductionReferences(const ProductionFiles& files, ProductionFindings& findings);
