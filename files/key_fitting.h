#pragma once
// Chooses the key times of a scene animation object so that the engine's own blending between
// keys (files/tdf_object.h) stays within a tolerance of a motion known at any time. Keys start at
// the given times; wherever a checked time between two keys misses by more than the tolerance, a
// key is added at the worst such time, until every checked time is met.

#include <functional>
#include <vector>

#include "files/tdf_object.h"

struct KeyFitting {
  // Fills object's times and parts with exact keys at times.
  std::function<void(const std::vector<double>& times, TdfObject& object)> makeKeys;
  // The object's worst miss at a checked time, as a fraction of the tolerance (above 1 misses).
  std::function<double(const TdfObject& object, size_t checked)> miss;
  std::vector<double> checkedTimes;  // rising
};

// Returns the number of rounds it took; object holds the final keys.
size_t FitKeys(const KeyFitting& fitting, std::vector<double> times, TdfObject& object);
