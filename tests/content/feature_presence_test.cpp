// Every engine feature the showcase lists is on screen at its listed time: the frame rendered
// there differs from the same frame rendered from a pack with that feature taken out (the feature
// table, written by the generators beside the content, says what to take out of which file).
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include <gtest/gtest.h>

#include "render/image/decoders.h"
#include "tests/content/pack_entries.h"
#include "tests/support/run_command.h"
#include "tests/support/test_paths.h"

namespace fs = std::filesystem;

namespace {

constexpr int WIDTH = 256;
constexpr int HEIGHT = 144;
// A feature counts as shown when this share of the pixels changes by more than a few levels.
constexpr double MIN_CHANGED_SHARE = 0.002;
constexpr int CHANGE_LEVELS = 6;

struct Feature {
  std::string name;
  uint32_t time;
  std::string file;
  std::string remove;
  std::string replacement;
};

std::string Unescape(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 'n') {
      out += '\n';
      ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

std::vector<Feature> ReadFeatures() {
  std::ifstream in(BinaryPath("content/showcase/content/features.tsv"));
  std::vector<Feature> features;
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::vector<std::string> fields;
    std::istringstream split(line);
    for (std::string field; std::getline(split, field, '\t');) fields.push_back(field);
    if (fields.size() == 4) fields.emplace_back();
    if (fields.size() != 5) continue;
    features.push_back({fields[0], static_cast<uint32_t>(std::stoul(fields[1])), fields[2], Unescape(fields[3]), Unescape(fields[4])});
  }
  return features;
}

std::vector<uint8_t> Render(const std::string& pack, uint32_t time, const fs::path& folder) {
  CommandResult result = RunTool({"render", "--pack", pack, "--width", std::to_string(WIDTH), "--height", std::to_string(HEIGHT), "--at",
                                  std::to_string(time), "--out", folder.string()});
  EXPECT_EQ(result.status, 0) << result.err;
  char name[32];
  std::snprintf(name, sizeof name, "frame_%08u.png", time);
  std::ifstream in(folder / name, std::ios::binary);
  std::string png((std::istreambuf_iterator<char>(in)), {});
  ImageData image;
  if (!DecodePng(reinterpret_cast<const uint8_t*>(png.data()), png.size(), image)) return {};
  return image.pixels;
}

double ChangedShare(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
  if (a.size() != b.size() || a.empty()) return 1.0;
  size_t changed = 0;
  for (size_t i = 0; i < a.size(); i += 4) {
    int most = 0;
    for (int c = 0; c < 3; ++c) most = std::max(most, std::abs(a[i + c] - b[i + c]));
    changed += most > CHANGE_LEVELS;
  }
  return static_cast<double>(changed) / static_cast<double>(a.size() / 4);
}

TEST(ShowcaseFeatures, EachListedFeatureIsOnScreenAtItsTime) {
  std::vector<Feature> features = ReadFeatures();
  ASSERT_GE(features.size(), 20u) << "the feature table beside the showcase's content";
  std::string pack = BinaryPath("production/torvane.pak");
  PackEntries entries = ReadPackEntries(pack);
  ASSERT_FALSE(entries.empty());
  fs::path folder = fs::temp_directory_path() / ("showcase_features_" + std::to_string(::getpid()));
  fs::create_directories(folder);

  std::map<uint32_t, std::vector<uint8_t>> frames;
  for (const Feature& feature : features) {
    SCOPED_TRACE(feature.name);
    if (!frames.count(feature.time)) frames[feature.time] = Render(pack, feature.time, folder / "whole");
    const std::vector<uint8_t>& whole = frames[feature.time];
    ASSERT_FALSE(whole.empty());

    PackEntries without = entries;
    bool found = false;
    for (auto& [name, bytes] : without) {
      if (name != feature.file) continue;
      for (size_t at = bytes.find(feature.remove); at != std::string::npos; at = bytes.find(feature.remove, at + feature.replacement.size())) {
        bytes.replace(at, feature.remove.size(), feature.replacement);
        found = true;
      }
    }
    ASSERT_TRUE(found) << feature.file << " does not hold: " << feature.remove;
    std::string modified = (folder / "without.pak").string();
    ASSERT_TRUE(WritePackEntries(without, modified));
    std::vector<uint8_t> frame = Render(modified, feature.time, folder / "without");
    EXPECT_GT(ChangedShare(whole, frame), MIN_CHANGED_SHARE) << "at " << feature.time << " ms the frame does not change without it";
  }
  fs::remove_all(folder);
}

}  // namespace
