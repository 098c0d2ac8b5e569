// Effects as resources: extensions, the shared fallback for broken files, the critical end when
// the fallback itself is broken, and the core effects as shipped.
#include "resources/res_shader.h"

#include <strings.h>

#include "core/critical.h"
#include "core/log.h"
#include "files/core_file.h"
#include "files/core_file_stream.h"
#include "render/shader_manager.h"
#include "resources/resource_manager.h"
#include "tests/support/critical_exit.h"
#include "tests/support/resource_pack_test.h"

namespace {

const char BROKEN[] = "uniform vec4 shKd\nvoid f() {}\n";  // no ';' after the uniform

resShader* GetShader(const char* path) { return dynamic_cast<resShader*>(gResourceManager.GetResource(path)); }

// What the log holds, one "[subsystem] level: text" line each.
std::string LoggedLines() {
  std::string lines;
  for (const LogMessage& message : LogHistory()) lines += FormatLogLine(message) + "\n";
  return lines;
}

class ResShaderTest : public ResourcePackTest {};

TEST_F(ResShaderTest, AcceptsTheThreeEffectExtensionsInAnyCase) {
  OpenPack({{"data\\a.CG", ""}, {"data\\b.Fx", ""}, {"data\\c.cgfx", ""}, {"data\\d.glsl", ""}, {"data\\e", ""}});
  const struct {
    const char* path;
    bool accepted;
  } cases[] = {{"data\\a.CG", true}, {"data\\b.Fx", true}, {"data\\c.cgfx", true}, {"data\\d.glsl", false}, {"data\\e", false}};
  for (const auto& c : cases) {
    CoreFile file(c.path, MODE_READ);
    CoreFileStream stream(&file);
    resShader shader;
    EXPECT_EQ(shader.CanLoad(stream), c.accepted) << c.path;
  }
}

TEST_F(ResShaderTest, BrokenEffectsShareTheFallback) {
  PackContents entries = CoreEffectEntries();
  entries.emplace_back("data\\shader\\broken.cgfx", BROKEN);
  entries.emplace_back("data\\shader\\noTechnique.fx", "void f() {}\n");
  OpenPack(entries);

  resShader* broken = GetShader("data\\shader\\broken.cgfx");
  resShader* other = GetShader("data\\shader\\noTechnique.fx");
  ASSERT_TRUE(broken && other);
  resShader* fallback = broken->GetFallback();
  ASSERT_NE(fallback, nullptr);
  EXPECT_EQ(other->GetFallback(), fallback);
  EXPECT_EQ(fallback->GetPath(), DUMMY_SHADER_PATH);
  EXPECT_EQ(fallback->GetRefCount(), 2);
  EXPECT_EQ(broken->getEffect(), fallback->getEffect());
  EXPECT_EQ(broken->passCount(), fallback->passCount());
  EXPECT_GE(broken->getEffect()->FindParameter("shMqoColor"), 0);
  std::string logged = LoggedLines();
  EXPECT_NE(logged.find("[effect] error: data\\shader\\broken.cgfx:1: declaration without ';'\n"), std::string::npos)
      << logged;
  EXPECT_NE(logged.find("[effect] warning: data\\shader\\broken.cgfx does not build; drawn with "
                        "data\\core\\shader\\dummyShader.cgfx instead"),
            std::string::npos)
      << logged;

  // Drawing through the fallback works like any effect.
  const float colour[4] = {0, 0, 0, 1};
  broken->setParameter("shMqoColor", colour);
  broken->setPassState(0);
  DrawQuad();
  broken->resetPassState(0);
  EXPECT_EQ(ReadPixel(32, 32), (std::vector<uint8_t>{255, 0, 255, 255}));

  broken->Release();
  EXPECT_EQ(fallback->GetRefCount(), 1);
  other->Release();  // the last borrower takes the fallback with it
}

TEST_F(ResShaderTest, ReloadingABrokenFileGivesTheFallbackBack) {
  PackContents entries = CoreEffectEntries();
  entries.emplace_back("data\\shader\\broken.cgfx", BROKEN);
  OpenPack(entries);
  resShader* broken = GetShader("data\\shader\\broken.cgfx");
  ASSERT_NE(broken, nullptr);
  ASSERT_NE(broken->GetFallback(), nullptr);
  // Reloading gives the only reference to the fallback back (destroying it) and takes a new one.
  EXPECT_TRUE(broken->Reload());
  resShader* fallback = broken->GetFallback();
  ASSERT_NE(fallback, nullptr);
  EXPECT_EQ(fallback->GetRefCount(), 1);
  EXPECT_EQ(gResourceManager.Cache().size(), 2u);
  broken->Unload();
  EXPECT_EQ(broken->getEffect(), nullptr);
  EXPECT_EQ(broken->passCount(), 0);
  broken->setPassState(0);
  broken->Release();
}

TEST_F(ResShaderTest, ABrokenFallbackEndsTheProcess) {
  OpenPack({{DUMMY_SHADER_PATH, BROKEN}, {"data\\shader\\broken.cgfx", BROKEN}});
  EXPECT_CRITICAL_EXIT(GetShader(DUMMY_SHADER_PATH), CRITICAL_DUMMY_SHADER);
  EXPECT_CRITICAL_EXIT(GetShader("data\\shader\\broken.cgfx"), CRITICAL_DUMMY_SHADER);
}

TEST_F(ResShaderTest, TheCoreEffectsBuildWithTheParametersTheFrameUses) {
  OpenPack(CoreEffectEntries());
  const struct {
    const char* name;
    int passes;
    std::vector<const char*> parameters;
  } effects[] = {
      {"dummyShader", 1, {"shMqoColor"}},
      {"defaultShader",
       1,
       {"shWorldMat", "shViewMat", "shVProjMat", "shAmbient", "shLightColor", "shKe", "shKa", "shKd", "shKs",
        "shShininess", "shEyePos", "shLightPos", "shMqoColor", "shBaseTexture", "shOverlapTexture", "TIME_RATE"}},
      {"finalScreenShader", 2, {"projMat", "shScreenTexture"}},
      {"nullPostEffect", 1, {"projMat", "srcCBuf0"}},
      {"msaa", 3, {"projMat", "srcColBuf0", "srcColBuf1", "div"}},
  };
  for (const auto& e : effects) {
    const std::string path = std::string("data\\core\\shader\\") + e.name + ".cgfx";
    resShader* shader = GetShader(path.c_str());
    ASSERT_NE(shader, nullptr) << e.name;
    EXPECT_EQ(shader->GetFallback(), nullptr) << e.name << ": " << LoggedLines();
    EXPECT_EQ(shader->passCount(), e.passes) << e.name;
    for (const char* parameter : e.parameters) {
      EXPECT_GE(shader->getEffect()->FindParameter(parameter), 0) << e.name << " " << parameter;
    }
    shader->Release();
  }
}

}  // namespace
