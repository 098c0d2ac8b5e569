// The reader resources in the engine: textures from each image format, models with their
// material resources and display lists, scene animations with their models.
#include <GL/glew.h>

#include "core/critical.h"
#include "files/core_file.h"
#include "files/core_file_stream.h"
#include "files/model_cache_writer.h"
#include "render/texture.h"
#include "render/texture_manager.h"
#include "resources/res_mqo.h"
#include "resources/res_shader.h"
#include "resources/res_tdf.h"
#include "resources/res_texture.h"
#include "resources/resource_manager.h"
#include "tests/resources/core_pack_test.h"
#include "tests/support/critical_exit.h"
#include "tests/support/image_fixtures.h"

namespace {

std::string FixtureText(const std::string& name) {
  std::vector<uint8_t> bytes = ImageFixture(name);
  return std::string(bytes.begin(), bytes.end());
}

template <class Resource>
Resource* Get(const char* path) {
  return dynamic_cast<Resource*>(gResourceManager.GetResource(path));
}

class ReaderResourceTest : public CorePackTest {
 protected:
  // The texture's level 0 read back from GL, rows of the stored width.
  static std::vector<uint8_t> TexturePixels(cTexture* texture) {
    std::vector<uint8_t> pixels(static_cast<size_t>(texture->GetWidth()) * texture->GetHeight() * 4);
    glBindTexture(GL_TEXTURE_2D, gTextureManager.lookupName(texture));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    return pixels;
  }
};

TEST_F(ReaderResourceTest, ExtensionsDecideLoadingAndOnlyPictureNamesIgnoreCase) {
  std::string jpeg = FixtureText("rgb.jpg"), hdr = FixtureText("wide.hdr"), png = FixtureText("rgb.png");
  OpenPack({{"data\\a.JPG", jpeg}, {"data\\b.HDR", hdr}, {"data\\c.PNG", png}, {"data\\d.gif", FixtureText("rgb.gif")},
            {"data\\e.hdr", hdr}});
  resTexture* upperJpeg = Get<resTexture>("data\\a.JPG");
  ASSERT_NE(upperJpeg, nullptr);
  EXPECT_EQ(upperJpeg->GetTexture()->GetImageWidth(), 5);
  upperJpeg->Release();
  // Accepted by name, but the Radiance and PNG decoders want their extension in lower case.
  for (const char* path : {"data\\b.HDR", "data\\c.PNG"}) {
    CoreFile file(path, MODE_READ);
    CoreFileStream stream(&file);
    resTexture probe;
    EXPECT_TRUE(probe.CanLoad(stream)) << path;
    EXPECT_EQ(gResourceManager.GetResource(path), nullptr) << path;
  }
  EXPECT_EQ(gResourceManager.GetResource("data\\d.gif"), nullptr);  // not a texture extension
  resTexture* radiance = Get<resTexture>("data\\e.hdr");
  ASSERT_NE(radiance, nullptr);  // 16 x 4 is a power-of-two size
  radiance->Release();
}

TEST_F(ReaderResourceTest, PaddedTexturesHoldTheImageTopRowFirstAtTheStoredPitch) {
  OpenPack({{"data\\t.png", FixtureText("rgba.png")}});
  resTexture* resource = Get<resTexture>("data\\t.png");
  ASSERT_NE(resource, nullptr);
  cTexture* texture = resource->GetTexture();
  EXPECT_EQ(texture->GetWidth(), 8);
  EXPECT_EQ(texture->GetHeight(), 4);
  EXPECT_FLOAT_EQ(texture->GetUScale(), 0.625f);
  EXPECT_EQ(texture->getData(), nullptr);  // the CPU copy is gone after the upload
  std::vector<uint8_t> pixels = TexturePixels(texture);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 5; ++x) {
      const uint8_t* p = &pixels[(static_cast<size_t>(y) * 8 + x) * 4];
      auto color = FixtureColor(x, y);
      EXPECT_EQ(p[3], x == y ? 0 : 255);
      if (x != y) {
        EXPECT_EQ((std::array<int, 3>{p[0], p[1], p[2]}), color) << x << "," << y;
      }
    }
  }
  resource->Release();
}

TEST_F(ReaderResourceTest, ExactSizeFormatsNeedAStoredSizeEqualToTheImage) {
  OpenPack({{"data\\odd.tga", FixtureText("rgb24.tga")}, {"data\\cube.dds", FixtureText("dxt1-cube-mips.dds")}});
  EXPECT_EQ(gResourceManager.GetResource("data\\odd.tga"), nullptr);
  EXPECT_EQ(gResourceManager.GetResource("data\\cube.dds"), nullptr);
  gTextureManager.SetNonPowerOfTwo(true);
  resTexture* tga = Get<resTexture>("data\\odd.tga");
  ASSERT_NE(tga, nullptr);
  EXPECT_EQ(tga->GetTexture()->GetWidth(), 5);
  EXPECT_EQ(tga->GetTexture()->GetInternalFormat(), static_cast<GLenum>(GL_RGB8));
  tga->Release();
  resTexture* cube = Get<resTexture>("data\\cube.dds");
  ASSERT_NE(cube, nullptr);
  EXPECT_EQ(cube->GetTexture()->GetTarget(), static_cast<GLenum>(GL_TEXTURE_CUBE_MAP));
  EXPECT_EQ(cube->GetTexture()->getLevels(), 3u);
  EXPECT_NE(gTextureManager.lookupName(cube->GetTexture()), 0u);
  cube->Release();
}

// A model of one object with a quad (two triangles) covering the view, all of material 0.
ModelData QuadModel(size_t materialCount) {
  ModelData model;
  model.materials.resize(materialCount);
  ModelObject object;
  object.name = "hull";
  object.positions = {-1, -1, 0, 1, -1, 0, 1, 1, 0, -1, 1, 0};
  ModelFace a, b;
  a.indices = {0, 1, 2, 0};
  b.indices = {0, 2, 3, 0};
  object.faces = {a, b};
  model.objects.push_back(object);
  ModelObject second = object;
  second.name = "mast";
  second.faces.clear();
  model.objects.push_back(second);
  return model;
}

std::string CacheText(const ModelData& model) {
  std::vector<uint8_t> bytes = WriteModelCache(model);
  return std::string(bytes.begin(), bytes.end());
}

PackContents ModelPack(const ModelData& model) { return {{"data\\model\\ship.bmdl", CacheText(model)}}; }

// Draws list with plain white over a black frame; true when the centre turned white.
bool ListDrawsTheCentre(GLuint list) {
  glClear(GL_COLOR_BUFFER_BIT);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glUseProgram(0);
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_LIGHTING);
  glColor4f(1, 1, 1, 1);
  glCallList(list);
  std::vector<uint8_t> pixel(4);
  glReadPixels(32, 32, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel.data());
  return pixel[0] == 255;
}

TEST_F(ReaderResourceTest, ModelLoadsFromItsCacheWithDefaultsAndListsPerMaterialAndObject) {
  OpenPack(ModelPack(QuadModel(2)));
  resMQO* model = Get<resMQO>("data\\model\\ship.mqo");
  ASSERT_NE(model, nullptr);
  EXPECT_EQ(model->GetPath(), "data\\model\\ship.bmdl");
  ASSERT_EQ(model->GetMaterialCount(), 2u);
  EXPECT_EQ(model->GetObjectName(1), "mast");
  EXPECT_EQ(model->GetObjectName(2), "");
  // Empty paths take the default texture twice and the default effect.
  EXPECT_NE(model->GetTexture(0, 0), nullptr);
  EXPECT_EQ(model->GetTexture(0, 0), model->GetTexture(0, 1));
  EXPECT_EQ(model->GetTexture(0, 2), nullptr);
  EXPECT_EQ(model->GetEffect(0)->GetPath(), DEFAULT_EFFECT_PATH);
  ASSERT_EQ(model->GetMaterialLists().size(), 2u);
  EXPECT_TRUE(ListDrawsTheCentre(model->GetMaterialLists()[0]));
  EXPECT_FALSE(ListDrawsTheCentre(model->GetMaterialLists()[1]));  // no face uses material 1
  const auto& objectLists = model->GetObjectLists();
  ASSERT_EQ(objectLists.size(), 2u);
  EXPECT_TRUE(ListDrawsTheCentre(objectLists.at(0)[0]));
  EXPECT_FALSE(ListDrawsTheCentre(objectLists.at(0)[1]));
  EXPECT_FALSE(ListDrawsTheCentre(objectLists.at(1)[0]));
  // EmitFace draws the same triangle immediately.
  glClear(GL_COLOR_BUFFER_BIT);
  glColor4f(1, 1, 1, 1);
  model->EmitFace(0, 0, 0);
  EXPECT_EQ(ReadPixel(40, 20)[0], 255);  // below the diagonal: face 0
  EXPECT_EQ(ReadPixel(20, 40)[0], 0);
  // A second request shares the model, under its cache path too.
  resMQO* again = Get<resMQO>("data\\model\\ship.bmdl");
  EXPECT_EQ(again, model);
  again->Release();
  model->Release();
}

TEST_F(ReaderResourceTest, BrokenCachesAndUnusableMaterialsReleaseEverythingAndSayWhy) {
  ModelData wrongTexture = QuadModel(1);
  wrongTexture.materials[0].texture = "data\\core\\shader\\dummyShader.cgfx";  // not an image
  PackContents entries = ModelPack(wrongTexture);
  entries.emplace_back("data\\model\\bad.bmdl", "NUXABMDX" + std::string(40, '\0'));
  OpenPack(entries);
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(gResourceManager.GetResource("data\\model\\ship.mqo"), nullptr);
  EXPECT_EQ(gResourceManager.GetResource("data\\model\\bad.mqo"), nullptr);
  EXPECT_EQ(gResourceManager.GetResource("data\\model\\ship.mqo"), nullptr);
  std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(err.find("ship.bmdl: not loaded"), err.rfind("ship.bmdl: not loaded")) << "named once: " << err;
  EXPECT_TRUE(gResourceManager.Cache().empty());
  EXPECT_NE(err.find("[resource] error: data\\model\\ship.bmdl: not loaded: the model is dropped: its material 0's "
                     "texture data\\core\\shader\\dummyShader.cgfx did not load"),
            std::string::npos)
      << err;
  EXPECT_NE(err.find("[resource] error: data\\model\\bad.bmdl: not loaded: the model is dropped: the model cache is "
                     "damaged"),
            std::string::npos)
      << err;
}

// Every kind of image that fails to decode takes its model with it; the texture's own line says
// which image and the decoder's reason, the model's line which texture dropped it.
TEST_F(ReaderResourceTest, AnUndecodableMaterialTextureDropsItsModelAndBothAreNamed) {
  const std::pair<const char*, std::string> images[] = {
      {"data\\texture\\cut.png", FixtureText("rgb.png").substr(0, 60)},
      {"data\\texture\\cut.bmp", FixtureText("rgb24.bmp").substr(0, 70)},
      {"data\\texture\\wrong.tga", "not a targa at all, but long enough"},
      {"data\\texture\\wrong.hdr", "#?RADIANCE\nFORMAT=32-bit_rle_rgbe\n\n-Y 4 +X 4\n"},
      {"data\\texture\\wrong.dds", std::string(200, 'D')},
      {"data\\texture\\wrong.jpg", "\xFF\xD8 and then nothing a decoder wants"},
  };
  for (const auto& [path, bytes] : images) {
    ModelData model = QuadModel(1);
    model.materials[0].texture = path;
    PackContents entries = ModelPack(model);
    entries.emplace_back(path, bytes);
    OpenPack(entries);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(gResourceManager.GetResource("data\\model\\ship.mqo"), nullptr) << path;
    std::string err = ::testing::internal::GetCapturedStderr();
    std::string image = std::string("[resource] error: ") + path + ": not loaded: the image does not decode: ";
    size_t imageLine = err.find(image);
    ASSERT_NE(imageLine, std::string::npos) << err;
    EXPECT_NE(err[imageLine + image.size()], '\n') << "a reason follows: " << err;
    EXPECT_EQ(err.find("the decoder refused it"), std::string::npos) << "every decoder gives its reason: " << err;
    EXPECT_NE(err.find(std::string("the model is dropped: its material 0's texture ") + path + " did not load"),
              std::string::npos)
        << err;
    EXPECT_TRUE(gResourceManager.Cache().empty());
  }
}

// A scene animation whose model table names itself, or another that names it back, would load
// forever; the request that closes the cycle fails instead, naming the chain.
TEST_F(ReaderResourceTest, ResourceCyclesEndInAFailureNamingTheChain) {
  PackContents entries = ModelPack(QuadModel(1));
  entries.emplace_back("data\\tdf\\self.tdf", "MQO {\n 0 \"data\\tdf\\self.tdf\"\n 1 \"data\\model\\ship.mqo\"\n}\nEof\n");
  entries.emplace_back("data\\tdf\\a.tdf", "MQO {\n 0 \"data\\tdf\\b.tdf\"\n}\nEof\n");
  entries.emplace_back("data\\tdf\\b.tdf", "MQO {\n 0 \"data\\tdf\\a.tdf\"\n}\nEof\n");
  OpenPack(entries);
  ::testing::internal::CaptureStderr();
  resTDF* self = Get<resTDF>("data\\tdf\\self.tdf");
  resTDF* a = Get<resTDF>("data\\tdf\\a.tdf");
  std::string err = ::testing::internal::GetCapturedStderr();
  ASSERT_NE(self, nullptr);
  EXPECT_EQ(self->GetModel(0), nullptr) << "the reference that closes the cycle is not loaded";
  EXPECT_NE(self->GetModel(1), nullptr) << "the rest of the table still loads";
  EXPECT_NE(err.find("[resource] error: data\\tdf\\self.tdf: not loaded: it refers back to itself through "
                     "data\\tdf\\self.tdf -> data\\tdf\\self.tdf"),
            std::string::npos)
      << err;
  EXPECT_NE(err.find("data\\tdf\\a.tdf: not loaded: it refers back to itself through "
                     "data\\tdf\\a.tdf -> data\\tdf\\b.tdf -> data\\tdf\\a.tdf"),
            std::string::npos)
      << err;
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->GetModel(0), nullptr) << "b is no model";
  self->Release();
  a->Release();
  EXPECT_TRUE(gResourceManager.Cache().empty());
}

TEST_F(ReaderResourceTest, MissingMaterialEffectIsCriticalWhileLoading) {
  ModelData model = QuadModel(2);
  model.materials[1].effect = "data\\shader\\missing.cgfx";
  OpenPack(ModelPack(model));
  EXPECT_CRITICAL_EXIT(gResourceManager.GetResource("data\\model\\ship.mqo"), CRITICAL_FILE_NOT_FOUND);
}

TEST_F(ReaderResourceTest, SceneAnimationLoadsItsModelsAndTheirPartNames) {
  PackContents entries = ModelPack(QuadModel(1));
  entries.emplace_back("data\\tdf\\scene.tdf",
                       "MQO {\n 3 \"data\\model\\ship.mqo\"\n}\n"
                       "Scene \"s\" {\n Object 3 {\n  DataNum 2\n  Time { 0 4 }\n"
                       "  Part \"mast\" {\n   Position { 0 0 0  8 0 0 }\n  }\n }\n}\nEof\n");
  OpenPack(entries);
  EXPECT_EQ(CountModelReferences("data\\tdf\\scene.tdf"), 1);
  resTDF* animation = Get<resTDF>("data\\tdf\\scene.tdf");
  ASSERT_NE(animation, nullptr);
  const TdfDocument* document = animation->GetDocument();
  resMQO* ship = animation->GetModel(3);
  ASSERT_NE(ship, nullptr);
  EXPECT_EQ(ship->GetRefCount(), 1);
  EXPECT_EQ(document->GetModel(3), ship->GetModelData());
  EXPECT_EQ(document->GetModelPath(3), "data\\model\\ship.mqo");
  const TdfObject& object = document->GetScene(0).objects[0];
  EXPECT_EQ(animation->ModelOf(object), ship);
  EXPECT_EQ(object.parts.size(), 2u);  // hull and mast, from the model
  EXPECT_FLOAT_EQ(object.GetKey("mast", 1).position[0], 2.0f);
  ModelMaterial material;
  EXPECT_TRUE(document->GetModelMaterial(3, 0, material));
  EXPECT_FALSE(document->GetModelMaterial(3, 1, material));
  EXPECT_EQ(document->GetSceneEndTimes(), (std::vector<float>{4}));
  animation->Release();  // releases the model with the document
}

TEST_F(ReaderResourceTest, AnObjectWhoseSlotIsRedefinedLaterKeepsNoReleasedModel) {
  PackContents entries = ModelPack(QuadModel(1));
  entries.emplace_back("data\\model\\boat.bmdl", CacheText(QuadModel(2)));
  entries.emplace_back("data\\tdf\\scene.tdf",
                       "MQO {\n 0 \"data\\model\\ship.mqo\"\n}\n"
                       "Scene \"s\" {\n Object 0 {\n  DataNum 1\n  Time { 1 }\n }\n}\n"
                       "MQO {\n 0 \"data\\model\\boat.mqo\"\n}\nEof\n");
  OpenPack(entries);
  resTDF* animation = Get<resTDF>("data\\tdf\\scene.tdf");
  ASSERT_NE(animation, nullptr);
  // The ship was released when the table gave its slot to the boat; the object must not keep it.
  ASSERT_NE(animation->GetModel(0), nullptr);
  EXPECT_EQ(animation->GetModel(0)->GetMaterialCount(), 2u);
  const TdfObject& object = animation->GetDocument()->GetScene(0).objects[0];
  EXPECT_EQ(object.model, nullptr);
  EXPECT_EQ(animation->ModelOf(object), nullptr);
  animation->Release();
}

}  // namespace
