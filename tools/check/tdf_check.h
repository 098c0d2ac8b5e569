#pragma once
// The strict reading of a scene animation file. The player's reader takes what it can and skips
// the rest without a word; this names every place where what the player does differs from what
// the text seems to say: unknown or misplaced blocks, key blocks whose number count is not
// DataNum times the key's width, Time lists that do not match DataNum or go back in time,
// unbalanced braces, parts that match no object of their model, objects whose model slot is
// empty. It reads the same tokens as the player (files/tdf_tokens.h).

#include <functional>
#include <string>

#include "files/model_data.h"
#include "production/production_finding.h"

// The model a path of the MQO block names, or null when it is missing or does not read (which
// the reference check reports).
using TdfModelLookup = std::function<const ModelData*(const std::string& path)>;

void CheckSceneAnimation(const std::string& text, const std::string& file, const TdfModelLookup& models,
                         ProductionFindings& findings);
