// showcase-generate: writes the showcase's content folder (models, pictures, scene animations,
// definitions, score) from the generators, with the hand-written files copied in.
//
//   showcase-generate --fonts DIR [--copy DIR[=PREFIX]]... OUT
#include <cstdio>
#include <cstring>
#include <string>

#include "content/showcase/generators/showcase_content.h"

namespace {

int Usage() {
  std::fprintf(stderr, "usage: showcase-generate --fonts DIR [--copy DIR[=PREFIX]]... OUT\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  ShowcaseOptions options;
  std::filesystem::path out;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--fonts") == 0 && i + 1 < argc) {
      options.fontDirectory = argv[++i];
    } else if (std::strcmp(argv[i], "--copy") == 0 && i + 1 < argc) {
      std::string tree = argv[++i];
      size_t equals = tree.find('=');
      if (equals == std::string::npos) options.copyTrees.push_back({tree, ""});
      else options.copyTrees.push_back({tree.substr(0, equals), tree.substr(equals + 1)});
    } else if (argv[i][0] != '-' && out.empty()) {
      out = argv[i];
    } else {
      return Usage();
    }
  }
  if (out.empty() || options.fontDirectory.empty()) return Usage();
  GeneratedContent folder;
  std::string error;
  if (!GenerateShowcase(options, folder, error) || !folder.WriteTo(out, error)) {
    std::fprintf(stderr, "showcase-generate: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
