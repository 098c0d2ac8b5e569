#include "tests/architecture/layer_rules.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

int RankOf(const std::string& layer, const std::vector<std::string>& layers) {
  auto found = std::find(layers.begin(), layers.end(), layer);
  return found == layers.end() ? -1 : static_cast<int>(found - layers.begin());
}

bool IsSource(const fs::path& path) { return path.extension() == ".h" || path.extension() == ".cpp"; }

// The text between the include's delimiters, and whether they were quotes.
bool ParseInclude(const std::string& line, std::string& target, bool& quoted) {
  size_t hash = line.find_first_not_of(" \t");
  if (hash == std::string::npos || line.compare(hash, 8, "#include") != 0) return false;
  size_t open = line.find_first_of("\"<", hash + 8);
  if (open == std::string::npos) return false;
  quoted = line[open] == '"';
  size_t close = line.find(quoted ? '"' : '>', open + 1);
  if (close == std::string::npos) return false;
  target = line.substr(open + 1, close - open - 1);
  return true;
}

bool IsWindowingLibrary(const std::string& target) {
  return target.rfind("SDL2/", 0) == 0 || target.rfind("SDL.h", 0) == 0 || target.rfind("FL/", 0) == 0;
}

void CheckFile(const fs::path& root, const fs::path& file, const std::vector<std::string>& layers,
               std::vector<LayerViolation>& found) {
  std::string relative = fs::relative(file, root).generic_string();
  std::string layer = LayerOf(relative, layers);
  int rank = RankOf(layer, layers);
  std::ifstream in(file);
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    std::string target;
    bool quoted = false;
    if (!ParseInclude(line, target, quoted)) continue;
    if (!quoted) {
      if (layer != "platform" && IsWindowingLibrary(target)) {
        found.push_back({relative, number, target, "only platform may include SDL2 or FLTK"});
      }
      continue;
    }
    std::string targetLayer = LayerOf(target, layers);
    int targetRank = RankOf(targetLayer, layers);
    if (targetRank > rank) {
      found.push_back({relative, number, target, "layer " + layer + " may not include layer " + targetLayer});
    }
  }
}

}  // namespace

std::string LayerOf(const std::string& path, const std::vector<std::string>& layers) {
  std::string best;
  for (const std::string& layer : layers) {
    bool inside = path.size() > layer.size() && path.compare(0, layer.size(), layer) == 0 && path[layer.size()] == '/';
    if (inside && layer.size() > best.size()) best = layer;
  }
  return best;
}

std::vector<LayerViolation> FindLayerViolations(const std::string& root, const std::vector<std::string>& layers) {
  std::vector<LayerViolation> found;
  std::vector<fs::path> files;
  for (const std::string& layer : layers) {
    fs::path folder = fs::path(root) / layer;
    if (!fs::is_directory(folder) || layer.find('/') != std::string::npos) continue;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder)) {
      if (entry.is_regular_file() && IsSource(entry.path())) files.push_back(entry.path());
    }
  }
  std::sort(files.begin(), files.end());
  for (const fs::path& file : files) CheckFile(root, file, layers, found);
  return found;
}

std::string Describe(const LayerViolation& violation) {
  return violation.file + ":" + std::to_string(violation.line) + ": includes \"" + violation.included +
         "\": " + violation.reason;
}
