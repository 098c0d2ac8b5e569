#pragma once
// What the player does with a production's models and textures beyond finding them: whether each
// texture decodes, and whether each model object has the parent its depth promises.

#include <string>

#include "production/production_files.h"
#include "production/production_finding.h"
#include "production/production_references.h"

void CheckTexture(const ProductionFiles& files, const std::string& path, const NamingSite* namedAt, ProductionFindings& findings);

void CheckModelNesting(const ProductionFiles& files, const std::string& cachePath, const ProductionModel& model,
                       ProductionFindings& findings);
