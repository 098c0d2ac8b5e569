#pragma once
// Each effect of a production built as the player builds it (on a hidden OpenGL context when there
// is one; otherwise parsed and its programs assembled, without the GLSL compiler's word), and what
// the definitions check needs to know of it: the pass count and the parameters it declares.

#include <string>
#include <vector>

#include "production/production_files.h"
#include "production/production_finding.h"
#include "render/effect/parameter_list.h"

struct EffectFacts {
  bool usable = false;  // a technique builds: the player draws with it rather than the fallback
  int passCount = 0;    // of the technique the player uses
  std::vector<EffectParameterLeaf> parameters;
};

// compile: build the programs on the current GL context.
EffectFacts CheckEffect(const ProductionFiles& files, const std::string& path, bool compile, ProductionFindings& findings);

// The parameter that the engine's setter would set for name (by its name, semantic or full path),
// or null when the effect declares none.
const EffectParameterLeaf* FindEffectParameter(const EffectFacts& effect, const std::string& name);
