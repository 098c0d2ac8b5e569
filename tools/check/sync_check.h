#pragma once
// The check of a production's sync tracks against the constants that name them: a name no track
// defines, a track nothing uses, and what the tracks file itself holds that is doubtful.

#include "production/production_files.h"
#include "production/production_finding.h"

void CheckSyncTracks(const ProductionFiles& files, ProductionFindings& findings);
