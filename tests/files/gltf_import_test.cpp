// glTF scenes made in code, imported, and the written scene animation read back and blended by the
// engine's own reader: key values against values worked out by hand, and bad files refused.
#include <cmath>

#include <gtest/gtest.h>

#include "files/gltf_axes.h"
#include "files/gltf_import.h"
#include "files/model_data.h"
#include "files/mqo_model.h"
#include "files/tdf_document.h"
#include "tests/support/gltf_fixture.h"

namespace {

constexpr double PI = 3.14159265358979323846;

struct Imported {
  GltfImport import;
  MqoDocument mqo;
  ModelData model;
  TdfDocument tdf;
  bool ok = false;
  std::string error;

  const TdfObject& Camera() const { return tdf.GetScene(0).objects[0]; }
  const TdfObject& Object() const { return tdf.GetScene(0).objects[1]; }
};

GltfFileSource NoFiles() {
  return [](const std::string&, std::vector<uint8_t>&, std::string& why) {
    why = "no files here";
    return false;
  };
}

void Import(const std::vector<uint8_t>& bytes, Imported& out, const GltfImportOptions& options = {"scene", "", ""}) {
  GltfDocument document;
  out.ok = ReadGltf(bytes.data(), bytes.size(), NoFiles(), document, out.error) && ImportGltf(document, options, out.import, out.error);
  if (!out.ok) return;
  const std::string& text = out.import.mqoText;
  ASSERT_TRUE(ParseMqo(reinterpret_cast<const uint8_t*>(text.data()), text.size(), out.mqo, out.error)) << out.error;
  ASSERT_TRUE(ConvertMqo(out.mqo, MQO_DEFAULT_PACK_DIRECTORY, out.model, out.error)) << out.error;
  out.tdf.ParseTdfText(out.import.tdfText, [&out](int32_t, const std::string&) { return &out.model; });
  ASSERT_EQ(out.tdf.GetSceneCount(), 1u);
  ASSERT_EQ(out.tdf.GetScene(0).objects.size(), 2u);
}

// A cube node (half-size 0.5) and a camera at (0, 0, 10) looking down -Z with yfov 0.6.
GltfFixture CubeAndCamera(std::array<float, 3> cubeAt = {1, 2, 3}) {
  GltfFixture gltf;
  int mesh = gltf.AddCubeMesh(0.5f);
  gltf.AddNode("Cube", {{"mesh", mesh}, {"translation", cubeAt}});
  int camera = gltf.AddPerspectiveCamera(0.6);
  gltf.AddNode("Camera", {{"camera", camera}, {"translation", {0, 0, 10}}});
  return gltf;
}

std::array<float, 3> PositionAt(const Imported& imported, const char* part, float time) {
  return imported.Object().GetKey(part, time).position;
}

void ExpectNear(const std::array<float, 3>& got, const std::array<double, 3>& expected, double tolerance, const std::string& what) {
  for (int i = 0; i < 3; ++i) EXPECT_NEAR(got[i], expected[i], tolerance) << what << " axis " << i;
}

}  // namespace

TEST(GltfImport, AStillCubeAndCameraBecomeKeysInTheEnginesAxes) {
  Imported imported;
  Import(CubeAndCamera().Glb(), imported);
  ASSERT_TRUE(imported.ok) << imported.error;
  ExpectNear(PositionAt(imported, "Cube", 0), {1, 2, -3}, 1e-6, "cube");
  TdfKey eye = imported.Camera().GetKey(TDF_CAMERA_POSITION_PART, 0);
  TdfKey target = imported.Camera().GetKey(TDF_CAMERA_LOOKAT_PART, 0);
  ExpectNear(eye.position, {0, 0, -10}, 1e-6, "eye");
  EXPECT_NEAR(target.position[0], 0, 1e-6);
  EXPECT_NEAR(target.position[1], 0, 1e-6);
  EXPECT_GT(target.position[2], -10) << "the glTF camera looks down -Z, the engine's keys +z";
  EXPECT_NEAR(eye.rotation[1], 0.6 - 30 * PI / 180, 1e-6) << "field of view is 30 degrees plus Rotation y";
  EXPECT_NEAR(eye.rotation[2], 0, 1e-6);
  ASSERT_EQ(imported.mqo.objects.size(), 1u);
  EXPECT_EQ(imported.mqo.objects[0].name, "Cube");
  EXPECT_EQ(imported.mqo.objects[0].vertices.size(), 24u * 3);
  EXPECT_EQ(imported.mqo.objects[0].faces.size(), 12u);
  EXPECT_GT(imported.Camera().times.back(), 0) << "a still scene still lasts";
}

TEST(GltfImport, SamplersAreFollowedAtHandWorkedTimes) {
  struct Case {
    const char* interpolation;
    std::vector<float> times;
    std::vector<float> values;  // x of each value (y, z are 0); cubic: in, value, out
    std::vector<std::pair<float, double>> expected;
  };
  const Case cases[] = {
      {"LINEAR", {0, 1}, {0, 2}, {{0.25f, 0.5}, {0.5f, 1.0}, {1.0f, 2.0}, {1.5f, 2.0}}},
      {"STEP", {0, 1, 2}, {0, 1, 3}, {{0.5f, 0.0}, {0.98f, 0.0}, {1.0f, 1.0}, {1.5f, 1.0}, {2.0f, 3.0}}},
      // Hermite: out-tangent 3 at the first key, in-tangent 0 at the second.
      {"CUBICSPLINE", {0, 1}, {0, 0, 3, 0, 1, 0}, {{0.25f, 0.578125}, {0.5f, 0.875}, {1.0f, 1.0}}},
      // A corner the engine's curve would round off.
      {"LINEAR", {0, 1, 2, 3}, {0, 4, 4, 0}, {{0.5f, 2.0}, {1.5f, 4.0}, {2.5f, 2.0}}},
  };
  for (const Case& c : cases) {
    GltfFixture gltf = CubeAndCamera({0, 0, 0});
    std::vector<float> values;
    for (float x : c.values) values.insert(values.end(), {x, 0, 0});
    gltf.AddChannel("move", 0, "translation", c.interpolation, c.times, values);
    Imported imported;
    Import(gltf.Glb(), imported);
    ASSERT_TRUE(imported.ok) << imported.error;
    double tolerance = 0.001 * imported.import.sceneSize;
    for (auto [time, x] : c.expected) {
      ExpectNear(PositionAt(imported, "Cube", time), {x, 0, 0}, tolerance, std::string(c.interpolation) + " at " + std::to_string(time));
    }
    EXPECT_LE(imported.import.worstPositionMiss, tolerance) << c.interpolation;
  }
}

TEST(GltfImport, RotationsTurnTheShortWayWithoutFlipsBetweenKeys) {
  GltfFixture gltf = CubeAndCamera({0, 0, 0});
  // A whole turn about Y in thirds, the last quaternion the negated identity, and the middle one
  // written with its sign flipped: the same rotations.
  auto aboutY = [](double degrees, float sign) {
    double half = degrees * PI / 360;
    return std::vector<float>{0, sign * static_cast<float>(std::sin(half)), 0, sign * static_cast<float>(std::cos(half))};
  };
  std::vector<float> values;
  for (auto [degrees, sign] : {std::pair{0.0, 1.0f}, {120.0, -1.0f}, {240.0, 1.0f}, {360.0, 1.0f}}) {
    std::vector<float> q = aboutY(degrees, sign);
    values.insert(values.end(), q.begin(), q.end());
  }
  gltf.AddChannel("spin", 0, "rotation", "LINEAR", {0, 1, 2, 3}, values);
  Imported imported;
  Import(gltf.Glb(), imported);
  ASSERT_TRUE(imported.ok) << imported.error;
  EXPECT_LE(imported.import.worstRotationMissDegrees, 0.2);
  // Engine angle y is minus the glTF angle about Y, and keeps turning past -pi.
  for (float time : {0.5f, 1.5f, 2.5f, 3.0f}) {
    EXPECT_NEAR(imported.Object().GetKey("Cube", time).rotation[1], -time * 2 * PI / 3, 0.2 * PI / 180) << time;
  }
  EXPECT_LE(imported.import.modelKeys, 8u) << "a steady turn needs no keys beyond the glTF's";
}

TEST(GltfImport, AChildOfATurningParentIsKeyedInWorldSpace) {
  GltfFixture gltf;
  int mesh = gltf.AddCubeMesh(0.25f);
  int parent = gltf.AddNode("Planet", {{"translation", {1, 0, 0}}});
  int child = gltf.AddNode("Moon", {{"mesh", mesh}, {"translation", {0, 0, -2}}});
  gltf.AddChild(parent, child);
  gltf.AddNode("Camera", {{"camera", gltf.AddPerspectiveCamera(0.8)}, {"translation", {0, 5, 10}}});
  double s = std::sin(PI / 4);
  gltf.AddChannel("orbit", parent, "rotation", "LINEAR", {0, 1}, {0, 0, 0, 1, 0, static_cast<float>(s), 0, static_cast<float>(s)});
  Imported imported;
  Import(gltf.Glb(), imported);
  ASSERT_TRUE(imported.ok) << imported.error;
  double tolerance = 0.001 * imported.import.sceneSize;
  ExpectNear(PositionAt(imported, "Moon", 0), {1, 0, 2}, tolerance, "start");
  ExpectNear(PositionAt(imported, "Moon", 0.5f), {1 - 2 * s, 0, 2 * s}, tolerance, "halfway");
  ExpectNear(PositionAt(imported, "Moon", 1), {-1, 0, 0}, tolerance, "end");
  EXPECT_NEAR(imported.Object().GetKey("Moon", 1).rotation[1], -PI / 2, 1e-4) << "the child turns with its parent";
}

TEST(GltfImport, EmbeddedPicturesAreKeptAsFilesTheModelNames) {
  GltfFixture gltf;
  int image = gltf.AddImage(TinyPng(), "image/png");
  int material = gltf.AddMaterial({1, 0.5f, 0.25f, 0.75f}, image);
  gltf.AddNode("Box", {{"mesh", gltf.AddCubeMesh(1, material)}});
  gltf.AddNode("Camera", {{"camera", gltf.AddPerspectiveCamera(0.8)}, {"translation", {0, 0, 5}}});
  Imported imported;
  Import(gltf.Glb(), imported);
  ASSERT_TRUE(imported.ok) << imported.error;
  ASSERT_EQ(imported.import.textures.size(), 1u);
  EXPECT_EQ(imported.import.textures[0].fileName, "scene_image0.png");
  EXPECT_EQ(imported.import.textures[0].bytes, TinyPng());
  ASSERT_GE(imported.mqo.materials.size(), 1u);
  EXPECT_EQ(imported.mqo.materials[0].texture, "data\\texture\\scene_image0.png");
  EXPECT_FLOAT_EQ(imported.mqo.materials[0].color[3], 0.75f);
}

TEST(GltfImport, BadFilesAreRefusedWithTheirReason) {
  GltfFixture good = CubeAndCamera();
  std::vector<uint8_t> glb = good.Glb();
  GltfFixture noCamera;
  noCamera.AddNode("Cube", {{"mesh", noCamera.AddCubeMesh(1)}});
  GltfFixture noMesh;
  noMesh.AddNode("Camera", {{"camera", noMesh.AddPerspectiveCamera(0.8)}});
  GltfFixture outside = CubeAndCamera();
  outside.Json()["images"] = {{{"uri", "../secret.png"}}};
  GltfFixture pastTheEnd = CubeAndCamera();
  pastTheEnd.Json()["accessors"][0]["count"] = 100000;
  GltfFixture badIndex = CubeAndCamera();
  badIndex.Json()["accessors"][3]["componentType"] = 5122;
  GltfFixture huge;
  std::vector<float> many(3 * (GLTF_MAX_NODE_VERTICES + 3), 0.0f);
  huge.AddNode("Huge", {{"mesh", 0}});
  huge.Json()["meshes"] = {{{"primitives", {{{"attributes", {{"POSITION", huge.AddFloats(many, "VEC3")}}}}}}}};
  GltfFixture ortho = CubeAndCamera();
  ortho.Json()["cameras"][0] = {{"type", "orthographic"}, {"orthographic", {{"xmag", 1}, {"ymag", 1}, {"znear", 0.1}, {"zfar", 10}}}};
  GltfFixture twoParents = CubeAndCamera();
  int group = twoParents.AddNode("Group");
  twoParents.AddChild(group, 0);
  twoParents.AddChild(group, 1);
  twoParents.AddChild(1, 0);

  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
    const char* reason;
  };
  auto text = [](const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); };
  const Case cases[] = {
      {"truncated", std::vector<uint8_t>(glb.begin(), glb.begin() + static_cast<std::ptrdiff_t>(glb.size() / 2)), ""},
      {"not JSON", text("{\"asset\": {\"version\": \"2.0\"}, \"nodes\": [ {"), ""},
      {"no camera", noCamera.Glb(), "no camera"},
      {"no mesh", noMesh.Glb(), "no mesh"},
      {"URI outside", text(outside.GltfText()), "outside the file's folder"},
      {"accessor past its buffer", pastTheEnd.Glb(), "past the end"},
      {"float indices", badIndex.Glb(), "not unsigned integers"},
      {"too many vertices", huge.Glb(), "more than 500000 vertices"},
      {"orthographic", ortho.Glb(), "orthographic"},
      {"node with two parents", twoParents.Glb(), "reached twice"},
  };
  for (const Case& c : cases) {
    Imported imported;
    Import(c.bytes, imported);
    EXPECT_FALSE(imported.ok) << c.what;
    EXPECT_FALSE(imported.error.empty()) << c.what;
    EXPECT_NE(imported.error.find(c.reason), std::string::npos) << c.what << ": " << imported.error;
  }
}

TEST(GltfImport, URIsThatLeaveTheFolderAreRecognised) {
  for (const char* inside : {"a.png", "tex/a.png", "./a.png", "a..b.png"}) EXPECT_TRUE(IsPathInsideFolder(inside)) << inside;
  for (const char* outside : {"../a.png", "tex/../../a.png", "/etc/passwd", "C:\\a.png", "..\\a.png", ""}) {
    EXPECT_FALSE(IsPathInsideFolder(outside)) << outside;
  }
}

TEST(GltfAxes, EulerAnglesRoundTripAndStayNearThePreviousKey) {
  // Rotations about every axis combination, including through the gimbal lock at 90 degrees.
  for (double x : {0.0, 0.4, -2.5}) {
    for (double y : {0.0, 0.7, PI / 2, -PI / 2 + 1e-7}) {
      for (double z : {0.0, 1.1, 3.0}) {
        GltfMat3 wanted = DrawnRotation({x, y, z});
        EngineAngles previous{x + 0.01, y - 0.01, z + 0.01};
        EngineAngles angles = EngineRotation(wanted, previous);
        EXPECT_LT(AngleBetween(DrawnRotation(angles), wanted), 1e-6) << x << " " << y << " " << z;
        for (int i = 0; i < 3; ++i) EXPECT_LT(std::fabs(angles[i] - previous[i]), PI) << x << " " << y << " " << z;
      }
    }
  }
}

TEST(GltfAxes, ARolledCameraIsDrawnWithTheSameRightHandAxis) {
  GltfTransform transform;
  transform.translation = {1, 2, 3};
  // Looking along -X, rolled by 30 degrees about its view direction.
  GltfQuat yaw{0, std::sin(PI / 4), 0, std::cos(PI / 4)};
  GltfMat3 roll = {std::cos(PI / 6), -std::sin(PI / 6), 0, std::sin(PI / 6), std::cos(PI / 6), 0, 0, 0, 1};
  GltfMat3 r = Multiply(RotationMatrix(yaw), roll);
  GltfMat4 world = IdentityMat4();
  for (int c = 0; c < 3; ++c) {
    for (int row = 0; row < 3; ++row) world[c * 4 + row] = r[row * 3 + c];
  }
  for (int row = 0; row < 3; ++row) world[12 + row] = transform.translation[row];
  EngineCameraKey key = EngineCamera(world, 5, 0);
  DrawnCamera drawn = DrawnCameraOf(key.eye, key.lookAt, key.roll);
  GltfVec3 right{r[0], r[3], r[6]};
  EXPECT_NEAR(Dot(drawn.right, right), 1, 1e-9);
  EXPECT_NEAR(Dot(drawn.forward, GltfVec3{-1, 0, 0}), 1, 1e-9);
  EXPECT_NEAR(std::fabs(key.roll), PI / 6, 1e-9);
}
