#include "tools/check/nearest_name.h"

#include <algorithm>
#include <cctype>

#include "production/production_finding.h"

namespace {

char Folded(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

// Edits from a to b, a swap of two neighbours counting as one.
size_t EditDistance(const std::string& a, const std::string& b) {
  std::vector<std::vector<size_t>> d(a.size() + 1, std::vector<size_t>(b.size() + 1));
  for (size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
  for (size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
  for (size_t i = 1; i <= a.size(); ++i) {
    for (size_t j = 1; j <= b.size(); ++j) {
      const size_t change = Folded(a[i - 1]) == Folded(b[j - 1]) ? 0 : 1;
      d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + change});
      if (i > 1 && j > 1 && Folded(a[i - 1]) == Folded(b[j - 2]) && Folded(a[i - 2]) == Folded(b[j - 1])) {
        d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
      }
    }
  }
  return d[a.size()][b.size()];
}

}  // namespace

std::string NearestName(const std::string& written, const std::vector<std::string>& candidates) {
  // One to three edits, a third of the name's letters: "strenght" finds "strength", while a short
  // name does not find every other short name.
  const size_t allowed = std::clamp<size_t>(written.size() / 3, 1, 3);
  std::string nearest;
  size_t best = allowed + 1;
  for (const std::string& candidate : candidates) {
    const size_t distance = EditDistance(written, candidate);
    if (distance < best && candidate != written) {
      best = distance;
      nearest = candidate;
    }
  }
  return nearest;
}

std::string DidYouMean(const std::string& written, const std::vector<std::string>& candidates) {
  const std::string nearest = NearestName(written, candidates);
  return nearest.empty() ? std::string() : "; did you mean " + Quoted(nearest) + "?";
}
