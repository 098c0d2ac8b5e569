#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include <gtest/gtest.h>

#include "tests/architecture/layer_rules.h"
#include "tests/support/test_paths.h"

namespace fs = std::filesystem;

namespace {

void WriteFile(const fs::path& path, const std::string& text) {
  fs::create_directories(path.parent_path());
  std::ofstream(path) << text;
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

TEST(Layers, NoEngineIncludePointsUp) {
  std::vector<LayerViolation> violations = FindLayerViolations(SourcePath(""), ENGINE_LAYERS);
  for (const LayerViolation& violation : violations) ADD_FAILURE() << Describe(violation);
  EXPECT_TRUE(violations.empty());
}

TEST(Layers, PlantedUpwardIncludesAreNamedWithFileAndLine) {
  fs::path root = fs::temp_directory_path() / ("torvane_layers_" + std::to_string(::getpid()));
  fs::remove_all(root);
  WriteFile(root / "files/reader.cpp", "#include \"files/reader.h\"\n#include <vector>\n#include \"render/texture.h\"\n");
  WriteFile(root / "render/effect/parser.cpp", "#include \"render/effect/parser.h\"\n#include \"render/texture.h\"\n");
  WriteFile(root / "render/texture.cpp", "#include \"render/effect/parser.h\"\n#include \"core/manager.h\"\n");
  WriteFile(root / "scene/view.cpp", "  #include <SDL2/SDL.h>\n#include \"app/entry.h\"\n");
  WriteFile(root / "platform/window.cpp", "#include <SDL2/SDL.h>\n");
  std::vector<std::string> found;
  for (const LayerViolation& violation : FindLayerViolations(root.string(), ENGINE_LAYERS)) {
    found.push_back(Describe(violation));
  }
  fs::remove_all(root);
  EXPECT_EQ(found, (std::vector<std::string>{
                       "files/reader.cpp:3: includes \"render/texture.h\": layer files may not include layer render",
                       "render/effect/parser.cpp:2: includes \"render/texture.h\": layer render/effect may not include "
                       "layer render",
                       "scene/view.cpp:1: includes \"SDL2/SDL.h\": only platform may include SDL2 or FLTK",
                       "scene/view.cpp:2: includes \"app/entry.h\": layer scene may not include layer app",
                   }));
}

TEST(Layers, TheArchitecturePageListsTheLayersInTheCheckedOrder) {
  std::string page = ReadFile(SourcePath("docs/architecture.md"));
  std::string order;
  for (const std::string& layer : ENGINE_LAYERS) order += (order.empty() ? "" : " → ") + layer;
  EXPECT_NE(page.find(order), std::string::npos) << "docs/architecture.md should hold the line: " << order;
}
