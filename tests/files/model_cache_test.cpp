#include <cmath>

#include <gtest/gtest.h>

#include "files/model_cache.h"
#include "files/model_cache_writer.h"
#include "files/model_h16.h"
#include "files/model_normals.h"

namespace {

ModelObject MakeObject(std::vector<float> positions, std::vector<std::array<uint32_t, 3>> triangles, float facet = 59.5f) {
  ModelObject object;
  object.name = "part";
  object.positions = std::move(positions);
  object.facet = facet;
  for (const auto& t : triangles) {
    ModelFace face;
    face.indices = {t[0], t[1], t[2], 0};
    object.faces.push_back(face);
  }
  return object;
}

ModelData MakeModel(ModelObject object) {
  ModelData model;
  model.materials.emplace_back();
  model.objects.push_back(std::move(object));
  return model;
}

ModelData RoundTrip(const ModelData& source) {
  std::vector<uint8_t> bytes = WriteModelCache(source);
  ModelData model;
  EXPECT_TRUE(ParseModelCache(bytes.data(), bytes.size(), model));
  return model;
}

std::array<float, 3> Normal(const ModelObject& object, uint32_t vertex) {
  return {object.normals[3 * vertex], object.normals[3 * vertex + 1], object.normals[3 * vertex + 2]};
}

TEST(ModelH16, WidensByPlacingTheValueInTheUpperHalf) {
  EXPECT_EQ(H16ToFloat(0x3F80), 1.0f);
  EXPECT_EQ(H16ToFloat(0x42EE), 119.0f);
  EXPECT_EQ(H16ToFloat(0xC000), -2.0f);
  EXPECT_EQ(FloatToH16(59.5f), 0x426E);
  EXPECT_EQ(H16ToFloat(FloatToH16(0.8f)), 0.80078125f);  // nearest, not truncated (0.796875)
  EXPECT_TRUE(std::isnan(H16ToFloat(FloatToH16(NAN))));
}

TEST(ModelCache, MaterialsObjectsAndPointsRoundTrip) {
  ModelData source = MakeModel(MakeObject({0, 0, 0, 1, 0, 0, 0, 1, 0}, {{0, 1, 2}}));
  ModelMaterial& material = source.materials[0];
  material.color = {0.25f, 0.5f, 0.75f, 1.0f};
  material.diffuse = 0.5f;
  material.power = 119.0f;
  material.shader = 3;
  material.effect = "data\\shader\\metal.cgfx";
  material.texture = "data\\texture\\hull.png";
  source.objects[0].depth = 2;
  source.objects[0].floats = {1, 2, 3};
  source.objects[0].faces[0].uv = {{{0.5f, 0.25f}, {1, 0}, {0, 1}, {9, 9}}};
  source.namedPoints["arm"] = {1, 2, 3};
  source.pointA = {-1, -2, -3};
  source.pointB = {4, 5, 6};
  ModelData model = RoundTrip(source);
  ASSERT_EQ(model.materials.size(), 1u);
  EXPECT_EQ(model.materials[0].color, material.color);
  EXPECT_EQ(model.materials[0].power, 119.0f);
  EXPECT_EQ(model.materials[0].shader, 3);
  EXPECT_EQ(model.materials[0].effect, material.effect);
  EXPECT_EQ(model.materials[0].texture, material.texture);
  EXPECT_EQ(model.materials[0].texture2, "");
  ASSERT_EQ(model.objects.size(), 1u);
  const ModelObject& object = model.objects[0];
  EXPECT_EQ(object.name, "part");
  EXPECT_EQ(object.depth, 2u);
  EXPECT_EQ(object.floats, (std::array<float, 3>{1, 2, 3}));
  EXPECT_EQ(object.faceCount, 1u);
  EXPECT_EQ(object.faces[0].uv[0][0], 0.5f);
  EXPECT_EQ(object.faces[0].uv[3][1], 9.0f);
  EXPECT_EQ(model.pointA, source.pointA);
  EXPECT_EQ(model.pointB, source.pointB);
  EXPECT_EQ(model.FindNamedPoint(">>arm"), (ModelPoint{1, 2, 3}));
  EXPECT_EQ(model.FindNamedPoint("leg"), (ModelPoint{0, 0, 0}));
}

TEST(ModelCache, NamedPointsDropLeadingMarkersAndLaterOnesWin) {
  ModelData source = MakeModel(MakeObject({}, {}));
  std::vector<uint8_t> bytes = WriteModelCache(source);
  // Replace the empty point table (count 0, then points A and B) with three points.
  bytes.resize(bytes.size() - 28);
  auto u32 = [&](uint32_t v) {
    for (int s = 0; s < 32; s += 8) bytes.push_back(static_cast<uint8_t>(v >> s));
  };
  auto point = [&](const std::string& name, float x) {
    u32(static_cast<uint32_t>(name.size()));
    bytes.insert(bytes.end(), name.begin(), name.end());
    for (float v : {x, 0.0f, 0.0f}) u32(std::bit_cast<uint32_t>(v));
  };
  u32(3);
  point(">wheel", 1);
  point("hub", 2);
  point(">>wheel", 3);
  for (int i = 0; i < 6; ++i) u32(0);
  ModelData model;
  ASSERT_TRUE(ParseModelCache(bytes.data(), bytes.size(), model));
  EXPECT_EQ(model.namedPoints.size(), 2u);
  EXPECT_EQ(model.FindNamedPoint("wheel")[0], 3.0f);
  EXPECT_EQ(model.FindNamedPoint(">hub")[0], 2.0f);
}

TEST(ModelCache, WrongMagicAndTruncationAreRefused) {
  std::vector<uint8_t> bytes = WriteModelCache(MakeModel(MakeObject({0, 0, 0, 1, 0, 0, 0, 1, 0}, {{0, 1, 2}})));
  ModelData model;
  std::vector<uint8_t> wrong = bytes;
  wrong[7] = 'X';
  EXPECT_FALSE(ParseModelCache(wrong.data(), wrong.size(), model));
  for (size_t cut = 0; cut < bytes.size(); cut += 7) {
    EXPECT_FALSE(ParseModelCache(bytes.data(), cut, model)) << cut;
    EXPECT_TRUE(model.objects.empty());
  }
}

TEST(ModelCache, OutOfRangeIndicesAndCountsAreRefused) {
  ModelData model;
  auto refused = [&](ModelData source) {
    std::vector<uint8_t> bytes = WriteModelCache(source);
    return !ParseModelCache(bytes.data(), bytes.size(), model);
  };
  ModelData badVertex = MakeModel(MakeObject({0, 0, 0, 1, 0, 0, 0, 1, 0}, {{0, 1, 3}}));
  EXPECT_TRUE(refused(badVertex));
  ModelData badMaterial = MakeModel(MakeObject({0, 0, 0, 1, 0, 0, 0, 1, 0}, {{0, 1, 2}}));
  badMaterial.objects[0].faces[0].material = 1;
  EXPECT_TRUE(refused(badMaterial));
  ModelData badCorners = MakeModel(MakeObject({0, 0, 0, 1, 0, 0, 0, 1, 0}, {{0, 1, 2}}));
  badCorners.objects[0].faces[0].cornerCount = 5;
  EXPECT_TRUE(refused(badCorners));
  ModelData lineWithStaleThirdIndex = MakeModel(MakeObject({0, 0, 0, 1, 0, 0}, {{0, 1, 77}}));
  lineWithStaleThirdIndex.objects[0].faces[0].cornerCount = 2;
  EXPECT_FALSE(refused(lineWithStaleThirdIndex));

  // A face count that cannot fit in what follows.
  std::vector<uint8_t> bytes = WriteModelCache(MakeModel(MakeObject({}, {})));
  size_t faceCountAt = 8 + 4 + (10 + 16 + 4 + 12) + 4 + 12 + 4 + 2;
  bytes[faceCountAt + 3] = 0x40;
  bytes[faceCountAt + 4] = 1;
  EXPECT_FALSE(ParseModelCache(bytes.data(), bytes.size(), model));
  // With hasFaces 0 the count is ignored: the object has no faces.
  bytes[faceCountAt + 4] = 0;
  ASSERT_TRUE(ParseModelCache(bytes.data(), bytes.size(), model));
  EXPECT_EQ(model.objects[0].faceCount, 0u);
  EXPECT_TRUE(model.objects[0].faces.empty());
}

TEST(ModelNormals, CounterClockwiseTriangleFacesPositiveZ) {
  ModelData model = RoundTrip(MakeModel(MakeObject({0, 0, 0, 1, 0, 0, 0, 1, 0}, {{0, 1, 2}})));
  const ModelObject& object = model.objects[0];
  EXPECT_EQ(object.faceNormals, (std::vector<float>{0, 0, 1}));
  for (uint32_t v = 0; v < 3; ++v) EXPECT_EQ(Normal(object, v), (std::array<float, 3>{0, 0, 1}));
}

TEST(ModelNormals, SharedEdgeSplitAppendsCopiesInVertexOrder) {
  ModelData model = RoundTrip(MakeModel(MakeObject({0, 0, 0, 1, 0, 0, 0, 1, 0, 1, 1, 0}, {{0, 1, 2}, {2, 1, 3}})));
  const ModelObject& object = model.objects[0];
  EXPECT_EQ(object.vertexCount, 6u);
  EXPECT_EQ(object.positions.size(), 18u);
  EXPECT_EQ(object.faces[0].indices, (std::array<uint32_t, 4>{0, 1, 2, 0}));
  EXPECT_EQ(object.faces[1].indices, (std::array<uint32_t, 4>{5, 4, 3, 0}));
  EXPECT_EQ(object.positions[12], 1.0f);  // vertex 4 copies vertex 1 (1, 0, 0)
  EXPECT_EQ(object.positions[16], 1.0f);  // vertex 5 copies vertex 2 (0, 1, 0)
  // Coplanar: every normal equals the face normal.
  for (uint32_t v = 0; v < 6; ++v) EXPECT_EQ(Normal(object, v), (std::array<float, 3>{0, 0, 1}));
}

TEST(ModelNormals, CopiesAreOrderedByVertexThenByReusingFace) {
  // Three faces fan around vertex 0; faces 1 and 2 reuse 0, face 2 also reuses 2.
  ModelObject object = MakeObject({0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0, -1, 0, 0}, {{0, 1, 2}, {0, 2, 3}, {0, 3, 4}});
  ComputeNormalsAndSplit(object);
  EXPECT_EQ(object.vertexCount, 9u);
  EXPECT_EQ(object.faces[1].indices[0], 5u);  // vertex 0, first reuse
  EXPECT_EQ(object.faces[2].indices[0], 6u);  // vertex 0, second reuse
  EXPECT_EQ(object.faces[1].indices[1], 7u);  // vertex 2
  EXPECT_EQ(object.faces[2].indices[1], 8u);  // vertex 3
  EXPECT_EQ(object.faces[1].indices[2], 3u);  // first use keeps its index
}

ModelObject RightAngle(float facet) {
  // Faces 0-1-2 in the z = 0 plane (normal +z) and 1-0-3 in the y = 0 plane (normal +y).
  return MakeObject({0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1}, {{0, 1, 2}, {1, 0, 3}}, facet);
}

TEST(ModelNormals, FacetAngleDecidesWhetherTheSharedEdgeStaysSmooth) {
  ModelObject smooth = RightAngle(59.5f);
  ComputeNormalsAndSplit(smooth);
  float half = std::sqrt(0.5f);
  EXPECT_NEAR(Normal(smooth, 0)[1], half, 1e-6);
  EXPECT_NEAR(Normal(smooth, 0)[2], half, 1e-6);
  EXPECT_EQ(Normal(smooth, 2), (std::array<float, 3>{0, 0, 1}));  // used by one face only

  ModelObject flat = RightAngle(30.0f);
  ComputeNormalsAndSplit(flat);
  EXPECT_EQ(Normal(flat, 0), (std::array<float, 3>{0, 0, 1}));
  EXPECT_EQ(Normal(flat, 1), (std::array<float, 3>{0, 0, 1}));
  EXPECT_EQ(Normal(flat, 4), (std::array<float, 3>{0, 1, 0}));  // face 1's copy of vertex 1
}

TEST(ModelNormals, CopiesTakeTheSmoothNormalEvenWhenTheFirstUserWentFlat) {
  // Vertex 0 is used first by a face in the y = 0 plane (+y), then by two faces in z = 0 (+z):
  // its smooth normal leans 63.4 degrees from +y and 26.6 degrees from +z.
  ModelObject object = MakeObject({0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 1, 0, -1, 0, 0}, {{1, 0, 2}, {0, 1, 3}, {4, 0, 3}}, 45.0f);
  ComputeNormalsAndSplit(object);
  EXPECT_EQ(Normal(object, 0), (std::array<float, 3>{0, 1, 0}));
  float y = 1 / std::sqrt(5.0f), z = 2 / std::sqrt(5.0f);
  for (uint32_t face : {1u, 2u}) {
    uint32_t copy = object.faces[face].indices[face == 1 ? 0 : 1];
    EXPECT_NEAR(Normal(object, copy)[1], y, 1e-6) << face;
    EXPECT_NEAR(Normal(object, copy)[2], z, 1e-6) << face;
  }
}

TEST(ModelNormals, DegenerateFacesAndLinesStayFinite) {
  ModelObject object = MakeObject({0, 0, 0, 1, 0, 0, 2, 0, 0, 5, 5, 5}, {{0, 1, 2}, {0, 3, 3}});
  object.faces.push_back(object.faces[0]);
  object.faces.back().cornerCount = 2;
  ComputeNormalsAndSplit(object);
  for (float value : object.faceNormals) EXPECT_EQ(value, 0.0f);
  for (float value : object.normals) EXPECT_TRUE(std::isfinite(value));
  // A face naming one vertex twice gets one copy of it.
  EXPECT_EQ(object.faces[1].indices[1], object.faces[1].indices[2]);
}

}  // namespace
