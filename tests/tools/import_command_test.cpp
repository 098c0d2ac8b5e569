// A glTF scene through the whole tool chain: import, check, build, render. The cube is where the
// glTF camera's own projection puts it, frame after frame; bad scenes leave the folder untouched.
#include <cmath>
#include <filesystem>

#include <gtest/gtest.h>

#include "files/gltf_animation.h"
#include "files/gltf_math.h"
#include "tests/support/gltf_fixture.h"
#include "tests/support/png_reading.h"
#include "tests/support/run_command.h"
#include "tests/support/temporary_folder.h"
#include "tests/support/test_paths.h"

namespace fs = std::filesystem;

namespace {

constexpr double PI = 3.14159265358979323846;
constexpr int WIDTH = 640;
constexpr int HEIGHT = 360;
constexpr double YFOV = 0.7;

const char EMPTY_DEFINITION[] = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<TRDataXml name=\"%s\">\n</TRDataXml>\n";

std::string EmptyDefinition(const char* name) {
  char text[256];
  std::snprintf(text, sizeof text, EMPTY_DEFINITION, name);
  return text;
}

// The starter production without its scene: no scene line, no post-effect, no model.
fs::path EmptyProduction(const TemporaryFolder& folder) {
  fs::path content = folder.Path() / "content";
  CommandResult made = RunTool({"new", content.string()});
  EXPECT_EQ(made.status, 0) << made.err;
  fs::remove(content / "models/gem.mqo");
  fs::remove(content / "data/tdf/orbit.tdf");
  for (const char* name : {"sceneLineDefine", "tdfDefine", "postEffectDefine"}) {
    WriteTextFile(content / "data/definition" / (std::string(name) + ".xml"), EmptyDefinition(name));
  }
  return content;
}

struct Motion {
  std::vector<float> times{0, 1, 2};
  std::vector<float> cubeAt{-1.5f, -0.5f, 0, 0.5f, 0.8f, -2, 1.6f, 0, 1};
  // The camera rises, looks down a little and is rolled by 10 degrees.
  std::vector<float> cameraAt{0, 1, 8, 0, 2, 8, 0.5f, 1.5f, 7};
  GltfQuat cameraTurn() const {
    GltfQuat pitch{std::sin(-0.06), 0, 0, std::cos(-0.06)};
    GltfQuat roll{0, 0, std::sin(PI / 36), std::cos(PI / 36)};
    // pitch then roll about the view axis: q = pitch * roll
    return {pitch[3] * roll[0] + pitch[0] * roll[3] + pitch[1] * roll[2] - pitch[2] * roll[1],
            pitch[3] * roll[1] - pitch[0] * roll[2] + pitch[1] * roll[3] + pitch[2] * roll[0],
            pitch[3] * roll[2] + pitch[0] * roll[1] - pitch[1] * roll[0] + pitch[2] * roll[3],
            pitch[3] * roll[3] - pitch[0] * roll[0] - pitch[1] * roll[1] - pitch[2] * roll[2]};
  }
};

GltfFixture MovingCube(const Motion& motion) {
  GltfFixture gltf;
  int material = gltf.AddMaterial({1, 1, 1, 1});
  int cube = gltf.AddNode("Cube", {{"mesh", gltf.AddCubeMesh(0.15f, material)}});
  GltfQuat q = motion.cameraTurn();
  int camera = gltf.AddNode("Camera", {{"camera", gltf.AddPerspectiveCamera(YFOV)}, {"rotation", {q[0], q[1], q[2], q[3]}}});
  gltf.AddChannel("fly", cube, "translation", "LINEAR", motion.times, motion.cubeAt);
  gltf.AddChannel("fly", camera, "translation", "CUBICSPLINE", motion.times,
                  {0, 0, 0, motion.cameraAt[0], motion.cameraAt[1], motion.cameraAt[2], 0, 0.5f, 0,
                   0, 0, 0, motion.cameraAt[3], motion.cameraAt[4], motion.cameraAt[5], 0, 0, 0,
                   0, 0, 0, motion.cameraAt[6], motion.cameraAt[7], motion.cameraAt[8], 0, 0, 0});
  return gltf;
}

GltfVec3 Lerp(const std::vector<float>& keys, double time) {
  size_t k = time < 1 ? 0 : 1;
  double s = time - static_cast<double>(k);
  GltfVec3 p;
  for (int i = 0; i < 3; ++i) p[i] = keys[k * 3 + i] * (1 - s) + keys[(k + 1) * 3 + i] * s;
  return p;
}

// The camera's eye by the Hermite curve the fixture keys (tangents 0 but the first out-tangent).
GltfVec3 CameraEye(const Motion& motion, double time) {
  size_t k = time < 1 ? 0 : 1;
  double s = time - static_cast<double>(k), s2 = s * s, s3 = s2 * s;
  GltfVec3 p;
  for (int i = 0; i < 3; ++i) {
    double out = k == 0 && i == 1 ? 0.5 : 0;
    p[i] = (2 * s3 - 3 * s2 + 1) * motion.cameraAt[k * 3 + i] + (s3 - 2 * s2 + s) * out +
           (-2 * s3 + 3 * s2) * motion.cameraAt[(k + 1) * 3 + i];
  }
  return p;
}

// Where the glTF camera projects the cube's centre, in pixels from the top left.
std::array<double, 2> Projected(const Motion& motion, double time) {
  GltfMat3 r = RotationMatrix(motion.cameraTurn());
  GltfVec3 seen = Apply(Transposed(r), Subtract(Lerp(motion.cubeAt, time), CameraEye(motion, time)));
  double focal = (HEIGHT / 2.0) / std::tan(YFOV / 2);
  return {WIDTH / 2.0 + focal * seen[0] / -seen[2], HEIGHT / 2.0 - focal * seen[1] / -seen[2]};
}

// The centre of the lit pixels' bounding box, and how many there are.
std::array<double, 3> LitCentre(const DecodedPng& picture) {
  int lit = 0;
  int left = picture.width, right = -1, top = picture.height, bottom = -1;
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      const uint8_t* p = picture.Pixel(x, y);
      if (p[0] + p[1] + p[2] < 60) continue;
      ++lit;
      left = std::min(left, x);
      right = std::max(right, x);
      top = std::min(top, y);
      bottom = std::max(bottom, y);
    }
  }
  return {(left + right + 1) / 2.0, (top + bottom + 1) / 2.0, static_cast<double>(lit)};
}

// The production built into folder/out, rendered at each time (ms).
std::vector<DecodedPng> RenderedFrames(const TemporaryFolder& folder, const std::vector<int>& times) {
  std::string at;
  for (int ms : times) at += (at.empty() ? "" : ",") + std::to_string(ms);
  CommandResult rendered = RunTool({"render", "--pack", folder / "out/torvane.pak", "--width", std::to_string(WIDTH), "--height",
                                    std::to_string(HEIGHT), "--at", at, "--out", folder / "frames"});
  EXPECT_EQ(rendered.status, 0) << rendered.err;
  std::vector<DecodedPng> frames;
  for (int ms : times) {
    char name[64];
    std::snprintf(name, sizeof name, "frames/frame_%08d.png", ms);
    frames.push_back(ReadPngFile(folder / name));
    EXPECT_TRUE(frames.back().ok) << name;
  }
  return frames;
}

}  // namespace

TEST(ImportTool, AGltfSceneIsDrawnWhereItsCameraSeesItFrameAfterFrame) {
  TemporaryFolder folder;
  fs::path content = EmptyProduction(folder);
  Motion motion;
  MovingCube(motion).WriteGlb(folder / "flight.glb");
  CommandResult imported = RunTool({"import", folder / "flight.glb", "--into", content.string(), "--line", "0", "--span", "0:2000"});
  ASSERT_EQ(imported.status, 0) << imported.err;
  EXPECT_TRUE(fs::exists(content / "models/flight.mqo"));
  EXPECT_TRUE(fs::exists(content / "data/tdf/flight.tdf"));
  CommandResult checked = RunTool({"check", content.string()});
  EXPECT_EQ(checked.status, 0) << checked.out << checked.err;
  EXPECT_EQ(checked.err.find("warning"), std::string::npos) << checked.err;
  CommandResult built = RunTool({"build", content.string(), "--out", folder / "out"});
  ASSERT_EQ(built.status, 0) << built.out << built.err;
  const std::vector<int> times{0, 500, 1000, 1500, 1900};
  std::vector<DecodedPng> frames = RenderedFrames(folder, times);
  for (size_t i = 0; i < times.size(); ++i) {
    int ms = times[i];
    const DecodedPng& picture = frames[i];
    std::array<double, 2> expected = Projected(motion, ms / 1000.0);
    std::array<double, 3> seen = LitCentre(picture);
    EXPECT_GT(seen[2], 50) << "the cube is in sight at " << ms << " ms";
    EXPECT_NEAR(seen[0], expected[0], 1.0) << "x at " << ms << " ms";
    EXPECT_NEAR(seen[1], expected[1], 1.0) << "y at " << ms << " ms";
  }
}

TEST(ImportTool, ABadSceneLeavesTheFolderAsItWas) {
  TemporaryFolder folder;
  fs::path content = folder.Path() / "content";
  fs::create_directories(content / "models");
  WriteTextFile(content / "models/keep.mqo", "untouched");
  GltfFixture undecodable = MovingCube(Motion{});
  int image = undecodable.AddImage({0x89, 'P', 'N', 'G', 0, 0, 0, 0}, "image/png");
  undecodable.Json()["materials"][0]["pbrMetallicRoughness"]["baseColorTexture"] = {{"index", 0}};
  undecodable.Json()["textures"] = {{{"source", image}}};
  undecodable.WriteGlb(folder / "broken.glb");
  WriteTextFile(folder / "cut.glb", "glTF\x02");
  for (const char* scene : {"broken.glb", "cut.glb", "missing.glb"}) {
    CommandResult result = RunTool({"import", folder / scene, "--into", content.string(), "--line", "0", "--span", "0:1000"});
    EXPECT_EQ(result.status, 1) << scene;
    EXPECT_NE(result.err.find(scene), std::string::npos) << result.err;
    EXPECT_NE(result.err.find("nothing written"), std::string::npos) << result.err;
  }
  std::vector<fs::path> left;
  for (const auto& entry : fs::recursive_directory_iterator(content)) left.push_back(entry.path());
  EXPECT_EQ(left.size(), 2u) << "only models/ and models/keep.mqo";
  EXPECT_EQ(ReadTextFile(content / "models/keep.mqo"), "untouched");
  CommandResult undecoded = RunTool({"import", folder / "broken.glb", "--into", content.string()});
  EXPECT_NE(undecoded.err.find("does not decode"), std::string::npos) << undecoded.err;
}

TEST(ImportTool, TheBuildImportsEverySceneOfTheScenesFolderFirst) {
  TemporaryFolder folder;
  fs::path content = EmptyProduction(folder);
  fs::create_directories(content / "scenes");
  MovingCube(Motion{}).WriteGlb((content / "scenes/flight.glb").string());
  WriteTextFile(content / "data/definition/tdfDefine.xml",
                "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<TRDataXml name=\"tdfDefine\">\n"
                "  <TdfEntry id=\"flight\" path=\"data\\tdf\\flight.tdf\"/>\n</TRDataXml>\n");
  WriteTextFile(content / "data/definition/sceneLineDefine.xml",
                "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<TRDataXml name=\"sceneLineDefine\">\n"
                "  <SceneLineEntry tdfId=\"flight\" line=\"0\" sTime=\"0\" eTime=\"2000\" shader=\"default\"/>\n</TRDataXml>\n");
  CommandResult built = RunTool({"build", content.string(), "--out", folder / "out"});
  ASSERT_EQ(built.status, 0) << built.out << built.err;
  EXPECT_NE(built.out.find("scenes/flight.glb: imported as models/flight.mqo and data/tdf/flight.tdf"), std::string::npos) << built.out;
  EXPECT_TRUE(fs::exists(content / "models/flight.mqo"));

  WriteTextFile(content / "scenes/flight.glb", "glTF\x02");
  CommandResult refused = RunTool({"build", content.string(), "--out", folder / "out"});
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.err.find("scenes/flight.glb: "), std::string::npos) << refused.err;
}

namespace {

// Pixel bounds (left, top, right, bottom) of every vertex of the scene's meshes at time, as the
// glTF camera projects them: all the file's animations at once, evaluated as glTF defines them.
std::array<double, 4> ProjectedBounds(const GltfDocument& document, double time) {
  GltfAnimation all;
  for (const GltfAnimation& animation : document.animations) all.channels.insert(all.channels.end(), animation.channels.begin(), animation.channels.end());
  std::vector<GltfMat4> world = GltfPose(document, &all).WorldMatrices(time);
  std::array<double, 4> bounds{1e9, 1e9, -1e9, -1e9};
  GltfMat4 camera{};
  double yfov = 0;
  for (size_t i = 0; i < document.nodes.size(); ++i) {
    if (document.nodes[i].camera < 0) continue;
    camera = world[i];
    yfov = document.cameras[static_cast<size_t>(document.nodes[i].camera)].yfov;
  }
  double focal = (HEIGHT / 2.0) / std::tan(yfov / 2);
  for (size_t i = 0; i < document.nodes.size(); ++i) {
    if (document.nodes[i].mesh < 0) continue;
    const std::vector<float>& positions = document.meshes[static_cast<size_t>(document.nodes[i].mesh)].positions;
    for (size_t v = 0; v + 2 < positions.size(); v += 3) {
      GltfVec3 offset = Subtract(TransformPoint(world[i], {positions[v], positions[v + 1], positions[v + 2]}), {camera[12], camera[13], camera[14]});
      GltfVec3 seen;
      for (int axis = 0; axis < 3; ++axis) seen[axis] = Dot(offset, Normalized({camera[axis * 4], camera[axis * 4 + 1], camera[axis * 4 + 2]}));
      double x = WIDTH / 2.0 + focal * seen[0] / -seen[2], y = HEIGHT / 2.0 - focal * seen[1] / -seen[2];
      bounds = {std::min(bounds[0], x), std::min(bounds[1], y), std::max(bounds[2], x), std::max(bounds[3], y)};
    }
  }
  return bounds;
}

std::array<double, 4> LitBounds(const DecodedPng& picture) {
  std::array<double, 4> bounds{1e9, 1e9, -1e9, -1e9};
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      const uint8_t* p = picture.Pixel(x, y);
      if (p[0] + p[1] + p[2] < 30) continue;
      bounds = {std::min(bounds[0], x * 1.0), std::min(bounds[1], y * 1.0), std::max(bounds[2], x + 1.0), std::max(bounds[3], y + 1.0)};
    }
  }
  return bounds;
}

}  // namespace

TEST(ImportTool, ABlenderExportIsDrawnWhereBlendersCameraSeesIt) {
  TemporaryFolder folder;
  fs::path content = EmptyProduction(folder);
  fs::path scene = SourcePath("tests/data/gltf/blender_flight.glb");
  CommandResult imported = RunTool({"import", scene.string(), "--into", content.string(), "--line", "0", "--span", "0:2042"});
  ASSERT_EQ(imported.status, 0) << imported.err;
  EXPECT_NE(imported.err.find("metallic/roughness"), std::string::npos) << "named, not silently dropped";
  CommandResult checked = RunTool({"check", content.string()});
  EXPECT_EQ(checked.status, 0) << checked.out << checked.err;
  EXPECT_EQ(checked.err.find("warning"), std::string::npos) << checked.err;
  ASSERT_EQ(RunTool({"build", content.string(), "--out", folder / "out"}).status, 0);
  const std::vector<int> times{0, 700, 1400, 2000};
  std::vector<DecodedPng> frames = RenderedFrames(folder, times);
  std::string bytes = ReadTextFile(scene);
  GltfDocument document;
  std::string error;
  GltfFileSource none = [](const std::string&, std::vector<uint8_t>&, std::string&) { return false; };
  ASSERT_TRUE(ReadGltf(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), none, document, error)) << error;
  for (size_t i = 0; i < times.size(); ++i) {
    int ms = times[i];
    const DecodedPng& picture = frames[i];
    std::array<double, 4> expected = ProjectedBounds(document, ms / 1000.0);
    std::array<double, 4> seen = LitBounds(picture);
    for (int edge = 0; edge < 4; ++edge) EXPECT_NEAR(seen[edge], expected[edge], 2.0) << "edge " << edge << " at " << ms << " ms";
  }
}
