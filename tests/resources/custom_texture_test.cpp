// Custom textures: reading the definitions, the root-name check, and binding to samplers with
// the current effect kept current.
#include "resources/custom_texture_manager.h"

#include "files/definition_xml.h"
#include "render/shader_manager.h"
#include "resources/res_shader.h"
#include "resources/res_texture.h"
#include "resources/resource_manager.h"
#include "tests/support/resource_pack_test.h"

namespace {

void PutLittleEndian(std::string& bytes, uint32_t value, int size) {
  for (int i = 0; i < size; ++i) bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
}

// A 1 × 1 uncompressed 24-bit BMP of one colour.
std::string SolidBmp(uint8_t r, uint8_t g, uint8_t b) {
  std::string bytes = "BM";
  PutLittleEndian(bytes, 58, 4);  // file size
  PutLittleEndian(bytes, 0, 4);
  PutLittleEndian(bytes, 54, 4);  // pixel offset
  PutLittleEndian(bytes, 40, 4);  // info header size
  PutLittleEndian(bytes, 1, 4);   // width
  PutLittleEndian(bytes, 1, 4);   // height
  PutLittleEndian(bytes, 1, 2);   // planes
  PutLittleEndian(bytes, 24, 2);  // bits per pixel
  for (int i = 0; i < 6; ++i) PutLittleEndian(bytes, 0, 4);
  bytes += static_cast<char>(b);
  bytes += static_cast<char>(g);
  bytes += static_cast<char>(r);
  bytes += '\0';  // row padding
  return bytes;
}

const char SAMPLER_EFFECT[] = R"(
uniform sampler2D noiseTex;
void vs() { gl_Position = gl_Vertex; }
void fs() { gl_FragColor = texture2D(noiseTex, vec2(0.5)); }
technique T { pass { VertexProgram = vs; FragmentProgram = fs; } }
)";

TEST(CustomTextureEntries, KeepDocumentOrderAndSkipIncompleteEntries) {
  const std::string text = R"(<TRDataXml name="shaderTextureDefine">
    <TextureEntry sampler="a" path="data\texture\a.bmp"/>
    <textureentry sampler="b"/>
    <TextureEntry path="data\texture\c.bmp" sampler="c"/>
  </TRDataXml>)";
  const XmlParseResult parsed = ParseXmlText(text.c_str(), text.size(), DEFINITION_ROOT_TAG);
  ASSERT_EQ(parsed.code, 0);
  std::vector<CustomTextureEntry> entries;
  std::vector<std::string> notes;
  ReadCustomTextureEntries(parsed.root, entries, notes);
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].sampler, "a");
  EXPECT_EQ(entries[1].path, "data\\texture\\c.bmp");
  ASSERT_EQ(notes.size(), 1u);
  EXPECT_EQ(notes[0], "TextureEntry 1 lacks \"sampler\" or \"path\"; entry skipped");
}

class CustomTextureTest : public ResourcePackTest {
 protected:
  void TearDown() override {
    gCustomTextureManager.Clear();
    gShaderManager.SetCurrentEffect(nullptr);
    for (resShader* effect : mEffects) effect->Release();
    ResourcePackTest::TearDown();
  }
  void Open(const std::string& rootName) {
    OpenPack({{CUSTOM_TEXTURE_DEFINE_PATH, "<TRDataXml name=\"" + rootName +
                                               "\">"
                                               "<TextureEntry sampler=\"noiseTex\" path=\"data\\texture\\red.bmp\"/>"
                                               "<TextureEntry sampler=\"noiseTex\" path=\"data\\texture\\green.bmp\"/>"
                                               "<TextureEntry sampler=\"other\" path=\"data\\texture\\broken.bmp\"/>"
                                               "</TRDataXml>"},
              {"data\\texture\\red.bmp", SolidBmp(255, 0, 0)},
              {"data\\texture\\green.bmp", SolidBmp(0, 255, 0)},
              {"data\\texture\\broken.bmp", "BM not a picture"},
              {"data\\shader\\a.cgfx", SAMPLER_EFFECT},
              {"data\\shader\\b.cgfx", SAMPLER_EFFECT}});
  }
  resShader* Effect(const char* path) {
    mEffects.push_back(dynamic_cast<resShader*>(gResourceManager.GetResource(path)));
    return mEffects.back();
  }
  std::vector<uint8_t> Draw(resShader* effect) {
    effect->setPassState(0);
    DrawQuad();
    effect->resetPassState(0);
    return ReadPixel(32, 32);
  }
  std::vector<resShader*> mEffects;
};

TEST_F(CustomTextureTest, BindsEveryEntryInOrderSoTheLaterOneWins) {
  Open("shaderTextureDefine");
  ASSERT_TRUE(gCustomTextureManager.loadDefinitions());
  ASSERT_EQ(gCustomTextureManager.Entries().size(), 3u);
  EXPECT_NE(gCustomTextureManager.Entries()[0].texture, nullptr);
  EXPECT_EQ(gCustomTextureManager.Entries()[2].texture, nullptr);  // no decoder accepts it

  resShader* a = Effect("data\\shader\\a.cgfx");
  resShader* b = Effect("data\\shader\\b.cgfx");
  ASSERT_TRUE(a && b);

  // With another effect current, that one is current again afterwards.
  gShaderManager.SetCurrentEffect(b);
  EXPECT_EQ(gCustomTextureManager.bindTextures(a), b);
  EXPECT_EQ(gShaderManager.GetCurrentEffect(), b);
  EXPECT_EQ(Draw(a), (std::vector<uint8_t>{0, 255, 0, 255}));
  EXPECT_EQ(Draw(b), (std::vector<uint8_t>{0, 0, 0, 255}));  // b got nothing

  // Null binds to the current effect and leaves it current; so does the current effect itself.
  EXPECT_EQ(gCustomTextureManager.bindTextures(nullptr), b);
  EXPECT_EQ(gShaderManager.GetCurrentEffect(), b);
  EXPECT_EQ(Draw(b), (std::vector<uint8_t>{0, 255, 0, 255}));
  gShaderManager.SetCurrentEffect(a);
  gCustomTextureManager.bindTextures(a);
  EXPECT_EQ(gShaderManager.GetCurrentEffect(), a);

  // With nothing current, the effect passed stays current.
  gShaderManager.SetCurrentEffect(nullptr);
  EXPECT_EQ(gCustomTextureManager.bindTextures(b), nullptr);
  EXPECT_EQ(gShaderManager.GetCurrentEffect(), b);
}

TEST_F(CustomTextureTest, RefusesTheFileNameAsTheDefinitionName) {
  Open("customTextureDefine");
  EXPECT_FALSE(gCustomTextureManager.loadDefinitions());
  EXPECT_TRUE(gCustomTextureManager.Entries().empty());
  EXPECT_EQ(gCustomTextureManager.bindTextures(nullptr), nullptr);
}

}  // namespace
