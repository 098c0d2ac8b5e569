#include <fstream>
#include <iterator>

#include <gtest/gtest.h>

#include "files/model_cache.h"
#include "files/model_cache_writer.h"
#include "files/mqo_model.h"
#include "tests/support/test_paths.h"

namespace {

std::vector<uint8_t> MqoFixture(const std::string& name) {
  std::ifstream in(SourcePath("tests/data/readers/mqo/" + name), std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

MqoDocument Parse(const std::string& text) {
  MqoDocument document;
  std::string error;
  EXPECT_TRUE(ParseMqo(reinterpret_cast<const uint8_t*>(text.data()), text.size(), document, error)) << error;
  return document;
}

ModelData Convert(const MqoDocument& document) {
  ModelData model;
  std::string error;
  EXPECT_TRUE(ConvertMqo(document, "data\\model\\", model, error)) << error;
  return model;
}

const char HEADER[] = "Metasequoia Document\r\nFormat Text Ver 1.0\r\n\r\n";

TEST(MqoParser, ReadsMaterialsWithEveryAttributeAndItsDefaults) {
  MqoDocument document = Parse(std::string(HEADER) +
                               "Material 2 {\n"
                               "\t\"hull@metal\" shader(2) col(0.1 0.2 0.3 0.4) dif(0.5) amb(0.25) emi(0.125) spc(1.0) "
                               "power(30.00) tex(\"tex/hull.png\") bump(\"C:\\art\\hull_n.png\")\n"
                               "\t\"plain\" col(1.000 1.000 1.000 1.000)\n"
                               "}\nEof\n");
  ASSERT_EQ(document.materials.size(), 2u);
  const MqoMaterial& hull = document.materials[0];
  EXPECT_EQ(hull.name, "hull@metal");
  EXPECT_EQ(hull.shader, 2);
  EXPECT_EQ(hull.color, (std::array<float, 4>{0.1f, 0.2f, 0.3f, 0.4f}));
  EXPECT_EQ(hull.power, 30.0f);
  EXPECT_EQ(hull.texture, "tex/hull.png");
  EXPECT_EQ(hull.bump, "C:\\art\\hull_n.png");
  EXPECT_EQ(document.materials[1].shader, 3);
  EXPECT_EQ(document.materials[1].diffuse, 0.8f);

  ModelData model = Convert(document);
  EXPECT_EQ(model.materials[0].effect, "data\\shader\\metal.cgfx");
  EXPECT_EQ(model.materials[0].texture, "data\\model\\tex\\hull.png");
  EXPECT_EQ(model.materials[0].texture2, "data\\model\\hull_n.png");
  EXPECT_EQ(model.materials[1].effect, "");
  EXPECT_EQ(model.materials[1].texture, "");
}

TEST(MqoParser, TexturePathsResolveAgainstThePackFolder) {
  EXPECT_EQ(MqoTexturePath("..\\texture\\sky.png", "data\\model\\"), "data\\texture\\sky.png");
  EXPECT_EQ(MqoTexturePath("data/texture/sky.png", "data\\model\\"), "data\\texture\\sky.png");
  EXPECT_EQ(MqoTexturePath("D:\\work\\sky.bmp", "data\\model\\ship\\"), "data\\model\\ship\\sky.bmp");
  EXPECT_EQ(MqoTexturePath("./sky.png", "data\\model\\"), "data\\model\\sky.png");
  EXPECT_EQ(MqoTexturePath("", "data\\model\\"), "");
  EXPECT_EQ(MqoEffectPath("glass@data/shader/special/glass.cgfx"), "data\\shader\\special\\glass.cgfx");
  EXPECT_EQ(MqoEffectPath("mail@example@toon"), "data\\shader\\toon.cgfx");
  EXPECT_EQ(MqoEffectPath("trailing@"), "");
}

TEST(MqoParser, ObjectsBecomeTrianglesWithMaterialsUvsDepthAndFacet) {
  MqoDocument document = Parse(std::string(HEADER) +
                               "Material 1 {\n\"m\" col(1 1 1 1)\n}\n"
                               "Object \"body\" {\n\tdepth 1\n\tfacet 30.5\n\tscale 2 3 4\n\tcolor 0.1 0.2 0.3\n"
                               "\tvertex 5 {\n\t\t0 0 0\n\t\t1 0 0\n\t\t1 1 0\n\t\t0 1 0\n\t\t5 5 5\n\t}\n"
                               "\tvertexattr {\n\t\tuid {\n\t\t\t1\n\t\t}\n\t}\n"
                               "\tface 3 {\n\t\t4 V(0 1 2 3) M(0) UV(0 0 1 0 1 1 0 1)\n\t\t2 V(3 4)\n\t\t3 V(0 2 4) M(7)\n\t}\n"
                               "}\n"
                               "Object \"hidden\" {\n\tvisible 0\n\tvertex 1 {\n\t\t0 0 0\n\t}\n}\n"
                               "Eof\n");
  ModelData model = Convert(document);
  ASSERT_EQ(model.objects.size(), 1u);
  const ModelObject& body = model.objects[0];
  EXPECT_EQ(body.depth, 1u);
  EXPECT_EQ(body.facet, 30.5f);
  EXPECT_EQ(body.floats, (std::array<float, 3>{2, 3, 4}));
  ASSERT_EQ(body.faces.size(), 4u);  // the quad as two triangles, the line, the triangle
  EXPECT_EQ(body.faces[0].indices, (std::array<uint32_t, 4>{0, 1, 2, 0}));
  EXPECT_EQ(body.faces[1].indices, (std::array<uint32_t, 4>{0, 2, 3, 0}));
  EXPECT_EQ(body.faces[1].uv[2], (std::array<float, 2>{0, 1}));
  EXPECT_EQ(body.faces[2].cornerCount, 2u);
  // No material, or one out of range, gets one added plain white material.
  ASSERT_EQ(model.materials.size(), 2u);
  EXPECT_EQ(body.faces[2].material, 1u);
  EXPECT_EQ(body.faces[3].material, 1u);
  EXPECT_EQ(model.pointA, (ModelPoint{0, 0, 0}));
  EXPECT_EQ(model.pointB, (ModelPoint{5, 5, 5}));
}

TEST(MqoParser, MarkerObjectsBecomeNamedPoints) {
  ModelData model = Convert(Parse(std::string(HEADER) +
                                  "Object \">arm\" {\n\tvisible 0\n\tvertex 2 {\n\t\t1 2 3\n\t\t3 2 1\n\t}\n}\n"
                                  "Object \"arm\" {\n\tvertex 1 {\n\t\t0 0 0\n\t}\n}\nEof\n"));
  ASSERT_EQ(model.objects.size(), 1u);
  EXPECT_EQ(model.FindNamedPoint("arm"), (ModelPoint{2, 2, 2}));
}

TEST(MqoParser, BadFacesAndOtherFormatsAreRefusedWithAReason) {
  MqoDocument document;
  std::string error;
  std::string badIndex = std::string(HEADER) + "Object \"o\" {\n\tvertex 1 {\n\t\t0 0 0\n\t}\n\tface 1 {\n\t\t3 V(0 1 2)\n\t}\n}\n";
  ASSERT_TRUE(ParseMqo(reinterpret_cast<const uint8_t*>(badIndex.data()), badIndex.size(), document, error));
  ModelData model;
  EXPECT_FALSE(ConvertMqo(document, "data\\", model, error));
  EXPECT_NE(error.find("vertex 1"), std::string::npos) << error;

  std::vector<std::string> broken = {
      "Metasequoia Document\nFormat Compress Ver 1.0\n",
      "PNG",
      std::string(HEADER) + "Object \"o\" {\n\tface 1 {\n\t\t3 V(0 1)\n\t}\n}\n",  // count differs
      std::string(HEADER) + "Object \"o\" {\n\tvertex 1 {\n\t\t0 0",
      std::string(HEADER) + "Material 1 {\n\"m\" col(1 1\n}\n",
      std::string(HEADER) + "Thumbnail 1 1 24 rgb raw {\n",
  };
  for (const std::string& text : broken) {
    EXPECT_FALSE(ParseMqo(reinterpret_cast<const uint8_t*>(text.data()), text.size(), document, error)) << text;
    EXPECT_FALSE(error.empty());
  }
  std::vector<uint8_t> compressed = MqoFixture("single_object.mqoz");
  EXPECT_FALSE(ParseMqo(compressed.data(), compressed.size(), document, error));
}

TEST(MqoParser, RealDocumentsConvertWithTheirDeclaredCounts) {
  struct Expected {
    const char* name;
    size_t materials, objects, vertices, faces;
  };
  // Quads count twice as triangles; hidden helper objects are left out.
  for (const Expected& expected : {Expected{"ninja.mqo", 9, 17, 6567, 10518}, Expected{"texture.mqo", 1, 1, 8, 12},
                                   Expected{"autocsg_sample.mqo", 2, 1, 488, 970},
                                   Expected{"single_object_with_bvertex.mqo", 1, 1, 8, 12},
                                   Expected{"single_object_with_edge.mqo", 1, 1, 11, 14},
                                   Expected{"single_material_with_materialex2.mqo", 1, 1, 8, 12},
                                   Expected{"mirrored_multiple_axes.mqo", 1, 1, 16, 8}}) {
    std::vector<uint8_t> text = MqoFixture(expected.name);
    MqoDocument document;
    std::string error;
    ASSERT_TRUE(ParseMqo(text.data(), text.size(), document, error)) << expected.name << ": " << error;
    ModelData model = Convert(document);
    size_t vertices = 0, faces = 0;
    for (const ModelObject& object : model.objects) {
      vertices += object.vertexCount;
      faces += object.faceCount;
    }
    EXPECT_EQ(model.materials.size(), expected.materials) << expected.name;
    EXPECT_EQ(model.objects.size(), expected.objects) << expected.name;
    EXPECT_EQ(vertices, expected.vertices) << expected.name;
    EXPECT_EQ(faces, expected.faces) << expected.name;
    // Whatever was converted reads back from the cache.
    std::vector<uint8_t> cache = WriteModelCache(model);
    ModelData read;
    EXPECT_TRUE(ParseModelCache(cache.data(), cache.size(), read)) << expected.name;
  }
}

TEST(MqoParser, ShiftJisNamesAndBinaryVerticesArriveUnchanged) {
  std::vector<uint8_t> text = MqoFixture("ninja.mqo");
  MqoDocument document;
  std::string error;
  ASSERT_TRUE(ParseMqo(text.data(), text.size(), document, error));
  // "face-" then the Shift_JIS bytes of the kanji for head.
  EXPECT_EQ(document.objects[0].name, "face-\x93\xaa");
  EXPECT_EQ(document.objects[0].facet, 180.0f);

  text = MqoFixture("single_object_with_bvertex.mqo");
  ASSERT_TRUE(ParseMqo(text.data(), text.size(), document, error));
  ASSERT_EQ(document.objects[0].vertices.size(), 24u);
  EXPECT_EQ(document.objects[0].vertices[0], -100.0f);

  text = MqoFixture("texture.mqo");
  ASSERT_TRUE(ParseMqo(text.data(), text.size(), document, error));
  EXPECT_EQ(document.materials[0].texture, "texture.png");
  EXPECT_EQ(document.objects[0].faces[1].uv[0], (std::array<float, 2>{1, 0}));
}

}  // namespace
