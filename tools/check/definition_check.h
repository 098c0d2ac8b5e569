#pragma once
// The strict reading of the four definition files: whether each parses (with the reader's own
// message) and has the root name the player looks for, elements and attributes the player does not
// read, numbers that are not numbers, scene lines outside 0 to 9, spans that never show, overlap
// on a line or run past the music, post-effect targets, passes, sources and constants, and custom
// textures that bind nothing. Whether the files they name are there is the reference check's part.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "production/production_files.h"
#include "production/production_finding.h"
#include "tools/check/effect_check.h"

struct DefinitionCheckContext {
  // The facts of the effect at a pack path, or null when it is missing.
  std::function<const EffectFacts*(const std::string& path)> effect;
  // Every effect the player loads, for the samplers custom textures bind to.
  std::vector<const EffectFacts*> loadedEffects;
  std::optional<uint32_t> musicLengthMs;
};

void CheckDefinitions(const ProductionFiles& files, const DefinitionCheckContext& context, ProductionFindings& findings);
