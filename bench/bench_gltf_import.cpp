// Importing a 100,000-triangle glTF scene: four animated grids of 25,088 triangles and a moving
// camera, read, keyed and written as model and scene animation text (files not written).
#include <benchmark/benchmark.h>

#include <cmath>

#include "files/gltf_document.h"
#include "files/gltf_import.h"
#include "tests/support/gltf_fixture.h"

namespace {

constexpr int QUADS = 112;  // per side of a grid: 2 * 112 * 112 triangles

int AddGrid(GltfFixture& gltf) {
  std::vector<float> positions, normals, uvs;
  for (int y = 0; y <= QUADS; ++y) {
    for (int x = 0; x <= QUADS; ++x) {
      float u = static_cast<float>(x) / QUADS, v = static_cast<float>(y) / QUADS;
      positions.insert(positions.end(), {u * 4 - 2, 0.2f * std::sin(u * 12) * std::cos(v * 9), v * 4 - 2});
      normals.insert(normals.end(), {0, 1, 0});
      uvs.insert(uvs.end(), {u, v});
    }
  }
  std::vector<uint16_t> indices;
  for (int y = 0; y < QUADS; ++y) {
    for (int x = 0; x < QUADS; ++x) {
      auto at = [](int i, int j) { return static_cast<uint16_t>(j * (QUADS + 1) + i); };
      indices.insert(indices.end(), {at(x, y), at(x, y + 1), at(x + 1, y + 1), at(x, y), at(x + 1, y + 1), at(x + 1, y)});
    }
  }
  nlohmann::json primitive = {{"attributes",
                               {{"POSITION", gltf.AddFloats(positions, "VEC3")},
                                {"NORMAL", gltf.AddFloats(normals, "VEC3")},
                                {"TEXCOORD_0", gltf.AddFloats(uvs, "VEC2")}}},
                              {"indices", gltf.AddIndices(indices)}};
  gltf.Json()["meshes"].push_back({{"primitives", nlohmann::json::array({primitive})}});
  return static_cast<int>(gltf.Json()["meshes"].size()) - 1;
}

std::vector<uint8_t> LargeScene() {
  GltfFixture gltf;
  gltf.Json()["meshes"] = nlohmann::json::array();
  int mesh = AddGrid(gltf);
  for (int i = 0; i < 4; ++i) {
    int node = gltf.AddNode("grid" + std::to_string(i), {{"mesh", mesh}, {"translation", {i * 5.0, 0, 0}}});
    gltf.AddChannel("wave", node, "translation", "LINEAR", {0, 2, 4}, {i * 5.0f, 0, 0, i * 5.0f, 1, 0, i * 5.0f, 0, 2});
    gltf.AddChannel("wave", node, "rotation", "LINEAR", {0, 4}, {0, 0, 0, 1, 0, 0.7071068f, 0, 0.7071068f});
  }
  int camera = gltf.AddNode("camera", {{"camera", gltf.AddPerspectiveCamera(0.8)}, {"translation", {7, 5, 20}}});
  gltf.AddChannel("wave", camera, "translation", "LINEAR", {0, 4}, {7, 5, 20, 7, 8, 16});
  return gltf.Glb();
}

void BM_ImportLargeScene(benchmark::State& state) {
  std::vector<uint8_t> bytes = LargeScene();
  GltfFileSource none = [](const std::string&, std::vector<uint8_t>&, std::string&) { return false; };
  size_t triangles = 0;
  for (auto _ : state) {
    GltfDocument document;
    GltfImport import;
    std::string error;
    if (!ReadGltf(bytes.data(), bytes.size(), none, document, error) || !ImportGltf(document, {"large", "", ""}, import, error)) {
      state.SkipWithError(error.c_str());
      break;
    }
    triangles = import.triangles;
    benchmark::DoNotOptimize(import.mqoText.data());
  }
  state.counters["triangles"] = static_cast<double>(triangles);
}
BENCHMARK(BM_ImportLargeScene)->Unit(benchmark::kMillisecond);

}  // namespace
