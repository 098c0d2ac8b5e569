#include "files/key_fitting.h"

#include <algorithm>
#include <cmath>

namespace {

// Key times closer than this are one key (a float second's resolution over a long scene).
constexpr double SAME_TIME = 1e-6;

std::vector<double> SortedDistinct(std::vector<double> times) {
  std::sort(times.begin(), times.end());
  std::vector<double> distinct;
  for (double time : times) {
    if (distinct.empty() || time - distinct.back() > SAME_TIME) distinct.push_back(time);
  }
  return distinct;
}

// The worst missed checked time strictly inside each span between keys.
std::vector<double> WorstMisses(const KeyFitting& fitting, const std::vector<double>& times, const TdfObject& object) {
  std::vector<double> added;
  size_t checked = 0;
  const std::vector<double>& at = fitting.checkedTimes;
  for (size_t k = 0; k + 1 < times.size(); ++k) {
    double worst = 1;
    double worstTime = -1;
    for (; checked < at.size() && at[checked] < times[k + 1] - SAME_TIME; ++checked) {
      if (at[checked] <= times[k] + SAME_TIME) continue;
      double miss = fitting.miss(object, checked);
      if (miss > worst) {
        worst = miss;
        worstTime = at[checked];
      }
    }
    if (worstTime >= 0) added.push_back(worstTime);
  }
  return added;
}

}  // namespace

size_t FitKeys(const KeyFitting& fitting, std::vector<double> times, TdfObject& object) {
  times = SortedDistinct(std::move(times));
  // Each round adds at least one checked time as a key and a key at a checked time is met
  // exactly, so the rounds end; the bound only guards against a miss measure that never settles.
  size_t rounds = 0;
  for (; rounds <= fitting.checkedTimes.size() + 1; ++rounds) {
    fitting.makeKeys(times, object);
    std::vector<double> added = WorstMisses(fitting, times, object);
    if (added.empty()) break;
    times.insert(times.end(), added.begin(), added.end());
    times = SortedDistinct(std::move(times));
  }
  return rounds;
}
