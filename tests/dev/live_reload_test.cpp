// Live reload on the test production, composed headless: each kind of file changes the picture
// when it is saved whole, leaves it as it was when it is not, and every resource's count is the
// same afterwards.
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "demo/demo_manager.h"
#include "demo/headless_demo.h"
#include "dev/live_reload.h"
#include "files/content_folder_source.h"
#include "files/missing_entry_policy.h"
#include "files/pack_entry_source.h"
#include "files/pack_file.h"
#include "render/texture_manager.h"
#include "render/texture_png_writer.h"
#include "resources/post_effect_manager.h"
#include "resources/resource_manager.h"
#include "tests/support/gltf_fixture.h"
#include "tests/support/test_paths.h"

namespace fs = std::filesystem;
using namespace files;

namespace {

constexpr int WIDTH = 160;
constexpr int HEIGHT = 90;
// The opening's cube, the backdrop's sky panel and the glow are all in this frame.
constexpr uint32_t FRAME_MS = 1500;

using Counts = std::map<std::string, int>;

Counts ResourceCounts() {
  Counts counts;
  for (resourceObject* resource : gResourceManager.Cache()) counts[resource->GetPath()] = resource->GetRefCount();
  return counts;
}

// Bytes that differ by more than one level.
size_t DifferentBytes(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
  size_t different = 0;
  for (size_t i = 0; i < a.size() && i < b.size(); ++i) different += std::abs(a[i] - b[i]) > 1;
  return different + (a.size() > b.size() ? a.size() - b.size() : b.size() - a.size());
}

resourceObject* Cached(const std::string& path) {
  for (resourceObject* resource : gResourceManager.Cache()) {
    if (resource->GetPath() == path) return resource;
  }
  return nullptr;
}

bool Mentions(const std::vector<std::string>& lines, const std::string& text) {
  for (const std::string& line : lines) {
    if (line.find(text) != std::string::npos) return true;
  }
  return false;
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

class LiveReloadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    mFolder = fs::temp_directory_path() / ("torvane_reload_" + std::to_string(::getpid()));
    fs::remove_all(mFolder);
    // The test production's sources, as `torvane-tool build` reads them: the pack is built from
    // this folder, so every loose file stands in with the same bytes (models converted alike).
    fs::copy(BinaryPath("content/test"), mFolder, fs::copy_options::recursive);
    HeadlessOptions options;
    options.packPath = BinaryPath("test-production/torvane.pak");
    options.frame.width = WIDTH;
    options.frame.height = HEIGHT;
    std::string error;
    ASSERT_TRUE(mDemo.Start(options, error)) << error;
    mContent = std::make_shared<const ContentFolder>(mFolder);
    SetEntrySources({std::make_shared<EmptyWhenMissing>(EmptyWhenMissing::Report::Logged), std::make_shared<PackEntrySource>(),
                     std::make_shared<ContentFolderSource>(mContent)});
    mBefore = mDemo.RenderFrame(FRAME_MS);
    mCounts = ResourceCounts();
  }
  void TearDown() override {
    mDemo.Stop();
    SetEntrySources(PlayerEntrySources());
    fs::remove_all(mFolder);
  }

  std::string Read(const std::string& relative) {
    std::ifstream in(mFolder / relative, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  void Write(const std::string& relative, const std::string& text) {
    std::ofstream(mFolder / relative, std::ios::binary) << text;
  }
  void Replace(const std::string& relative, const std::string& from, const std::string& to) {
    std::string text = Read(relative);
    size_t at = text.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    Write(relative, text.replace(at, from.size(), to));
  }

  HeadlessDemo mDemo;
  LiveReload mReload;
  fs::path mFolder;
  std::shared_ptr<const ContentFolder> mContent;
  std::vector<uint8_t> mBefore;
  Counts mCounts;
};

TEST_F(LiveReloadTest, ReloadingEverythingKeepsEveryCountAndThePicture) {
  size_t textureNames = gTextureManager.NameCount();
  ReloadReport report = mReload.Reload({});
  EXPECT_TRUE(report.timelineRebuilt);
  EXPECT_TRUE(report.errors.empty()) << Joined(report.errors);
  EXPECT_TRUE(Mentions(report.reloaded, "data\\texture\\sky.png"));
  EXPECT_TRUE(Mentions(report.reloaded, "data\\shader\\glowComposite.cgfx"));
  EXPECT_EQ(ResourceCounts(), mCounts);
  EXPECT_EQ(gTextureManager.NameCount(), textureNames) << "every replaced texture gave its GL name back";
  EXPECT_EQ(DifferentBytes(mDemo.RenderFrame(FRAME_MS), mBefore), 0u);
  EXPECT_EQ(mReload.Count(), 1u);
}

TEST_F(LiveReloadTest, ATextureIsReplacedInPlaceAndOneThatDoesNotDecodeIsKept) {
  resourceObject* sky = Cached("data\\texture\\sky.png");
  ASSERT_NE(sky, nullptr);
  std::vector<uint8_t> red(32 * 32 * 4);
  for (size_t i = 0; i < red.size(); i += 4) red[i] = red[i + 3] = 255;
  std::vector<uint8_t> png = EncodeRgbaPng(red.data(), 32, 32, "red");
  Write("data/texture/sky.png", std::string(png.begin(), png.end()));
  ReloadReport report = mReload.Reload({"data\\texture\\sky.png"});
  EXPECT_EQ(report.reloaded, std::vector<std::string>{"data\\texture\\sky.png"});
  EXPECT_TRUE(report.timelineRebuilt) << "the scenes' renderers take the new texture's name";
  std::vector<uint8_t> redSky = mDemo.RenderFrame(FRAME_MS);
  EXPECT_GT(DifferentBytes(redSky, mBefore), redSky.size() / 10) << "the sky panel fills much of the frame";
  EXPECT_EQ(Cached("data\\texture\\sky.png"), sky) << "the same resource, changed in place";

  Write("data/texture/sky.png", "\x89PNG\r\n\x1a\n cut short");
  report = mReload.Reload({"data\\texture\\sky.png"});
  EXPECT_TRUE(report.reloaded.empty());
  EXPECT_TRUE(Mentions(report.errors, "data\\texture\\sky.png does not decode")) << Joined(report.errors);
  EXPECT_EQ(DifferentBytes(mDemo.RenderFrame(FRAME_MS), redSky), 0u);
  EXPECT_EQ(ResourceCounts(), mCounts);
}

TEST_F(LiveReloadTest, AnEffectThatBuildsReplacesTheOldOneAndOneThatDoesNotIsReportedByFileAndLine) {
  Replace("data/shader/glowComposite.cgfx", "vec3(0.6)", "vec3(0.1)");
  ReloadReport report = mReload.Reload({"data\\shader\\glowComposite.cgfx"});
  EXPECT_EQ(report.reloaded, std::vector<std::string>{"data\\shader\\glowComposite.cgfx"});
  std::vector<uint8_t> moreGlow = mDemo.RenderFrame(FRAME_MS);
  EXPECT_GT(DifferentBytes(moreGlow, mBefore), 0u);

  Replace("data/shader/glowComposite.cgfx", "void fsBase() {", "void fsBase() { this is not code;");
  report = mReload.Reload({"data\\shader\\glowComposite.cgfx"});
  EXPECT_TRUE(report.reloaded.empty());
  EXPECT_TRUE(Mentions(report.errors, "[effect] error: data\\shader\\glowComposite.cgfx:")) << Joined(report.errors);
  EXPECT_TRUE(Mentions(report.errors, "the version loaded before stays")) << Joined(report.errors);
  EXPECT_EQ(DifferentBytes(mDemo.RenderFrame(FRAME_MS), moreGlow), 0u) << "the previous effect still draws";
  EXPECT_EQ(ResourceCounts(), mCounts);
}

TEST_F(LiveReloadTest, AHalfWrittenSceneAnimationIsRefusedAndAWholeOneRebuildsTheTimeline) {
  std::string whole = Read("data/tdf/opening.tdf");
  resourceObject* opening = Cached("data\\tdf\\opening.tdf");
  Write("data/tdf/opening.tdf", whole.substr(0, whole.size() / 2));
  ReloadReport report = mReload.Reload({"data\\tdf\\opening.tdf"});
  EXPECT_FALSE(report.timelineRebuilt);
  EXPECT_TRUE(Mentions(report.errors, "data\\tdf\\opening.tdf: ")) << Joined(report.errors);
  EXPECT_TRUE(Mentions(report.errors, "saved half-written?")) << Joined(report.errors);
  EXPECT_EQ(DifferentBytes(mDemo.RenderFrame(FRAME_MS), mBefore), 0u);
  EXPECT_EQ(Cached("data\\tdf\\opening.tdf"), opening) << "the loaded animation was not touched";

  Write("data/tdf/opening.tdf", whole);
  Replace("data/tdf/opening.tdf", "Position { 0 0 0   0 0.5 0 }", "Position { 1.5 0 0   1.5 0.5 0 }");
  report = mReload.Reload({"data\\tdf\\opening.tdf"});
  EXPECT_TRUE(report.timelineRebuilt);
  EXPECT_TRUE(report.errors.empty()) << Joined(report.errors);
  EXPECT_GT(DifferentBytes(mDemo.RenderFrame(FRAME_MS), mBefore), 0u) << "the cube moved";
  EXPECT_EQ(ResourceCounts(), mCounts);
}

TEST_F(LiveReloadTest, AChangedModelSourceIsConvertedAndItsAnimationsFollow) {
  std::string bigger = Read("models/cube.mqo");
  for (size_t at = 0; (at = bigger.find("1.0000 ", at)) != std::string::npos; at += 7) bigger.replace(at, 7, "1.6000 ");
  Write("models/cube.mqo", bigger);
  ReloadReport report = mReload.Reload({"data\\model\\cube.mqo"});
  EXPECT_TRUE(report.timelineRebuilt);
  EXPECT_TRUE(report.errors.empty()) << Joined(report.errors);
  std::vector<uint8_t> grown = mDemo.RenderFrame(FRAME_MS);
  EXPECT_GT(DifferentBytes(grown, mBefore), 0u) << "the cube grew";
  EXPECT_EQ(ResourceCounts(), mCounts);

  Write("models/cube.mqo", "Metasequoia Document\nFormat Text Ver 1.0\nObject \"c\" {\n vertex 1 {\n");
  report = mReload.Reload({"data\\model\\cube.mqo"});
  EXPECT_FALSE(report.timelineRebuilt);
  EXPECT_TRUE(Mentions(report.errors, "data\\model\\cube.mqo does not load as a model")) << Joined(report.errors);
  EXPECT_EQ(DifferentBytes(mDemo.RenderFrame(FRAME_MS), grown), 0u) << "not the pack's cube either";
}

TEST_F(LiveReloadTest, ABrokenDefinitionKeepsTheTimelineAndAWholeOneChangesIt) {
  Replace("data/definition/postEffectDefine.xml", "</TRDataXml>", "");
  ReloadReport report = mReload.Reload({"data\\definition\\postEffectDefine.xml"});
  EXPECT_FALSE(report.timelineRebuilt);
  EXPECT_TRUE(Mentions(report.errors, "postEffectDefine.xml")) << Joined(report.errors);
  EXPECT_EQ(gPostEffectManager.entryCount(), 3u);

  Write("data/definition/postEffectDefine.xml", Read("data/definition/postEffectDefine.xml") + "</TRDataXml>\n");
  Replace("data/definition/postEffectDefine.xml", "value=\"0.6\"", "value=\"3.0\"");
  report = mReload.Reload({"data\\definition\\postEffectDefine.xml"});
  EXPECT_TRUE(report.timelineRebuilt);
  EXPECT_TRUE(report.errors.empty()) << Joined(report.errors);
  EXPECT_GT(DifferentBytes(mDemo.RenderFrame(FRAME_MS), mBefore), 0u) << "a stronger glow";
  EXPECT_EQ(ResourceCounts(), mCounts);
}

TEST_F(LiveReloadTest, TheWatcherWaitsForQuietAndKeepsWhatWasRemoved) {
  std::string error;
  ASSERT_TRUE(mReload.Watch(mContent, error)) << error;
  Replace("data/shader/glowComposite.cgfx", "vec3(0.6)", "vec3(0.2)");
  fs::remove(mFolder / "data/texture/noise.png");
  EXPECT_FALSE(mReload.Poll(1000)) << "changes are collected first";
  EXPECT_FALSE(mReload.Poll(1000 + RELOAD_QUIET_MS - 1));
  ASSERT_TRUE(mReload.Poll(1000 + RELOAD_QUIET_MS));
  const ReloadReport& report = mReload.LastReport();
  EXPECT_EQ(report.reloaded, std::vector<std::string>{"data\\shader\\glowComposite.cgfx"});
  EXPECT_TRUE(Mentions(report.errors, "data\\texture\\noise.png was removed; the version loaded stays"))
      << Joined(report.errors);
  EXPECT_GT(DifferentBytes(mDemo.RenderFrame(FRAME_MS), mBefore), 0u);
  EXPECT_EQ(ResourceCounts(), mCounts);
  EXPECT_FALSE(mReload.Poll(5000)) << "nothing more to do";
}

TEST_F(LiveReloadTest, AnExportedSceneIsImportedAndReplacesItsAnimationAndABrokenOneIsNot) {
  std::string error;
  ASSERT_TRUE(mReload.Watch(mContent, error)) << error;
  fs::create_directories(mFolder / "scenes");
  // A scene of the opening's name: its import replaces the opening's animation and model.
  GltfFixture gltf;
  gltf.AddNode("Block", {{"mesh", gltf.AddCubeMesh(1.5f, gltf.AddMaterial({1, 1, 0, 1}))}});
  gltf.AddNode("Camera", {{"camera", gltf.AddPerspectiveCamera(0.9)}, {"translation", {0, 1, 6}}});
  gltf.WriteGlb((mFolder / "scenes/opening.glb").string());
  EXPECT_FALSE(mReload.Poll(1000)) << "changes are collected first";
  ASSERT_TRUE(mReload.Poll(1000 + RELOAD_QUIET_MS));
  EXPECT_TRUE(mReload.LastReport().errors.empty()) << Joined(mReload.LastReport().errors);
  EXPECT_TRUE(fs::exists(mFolder / "models/opening.mqo"));
  EXPECT_FALSE(mReload.Poll(2000)) << "the imported files are changes of their own";
  ASSERT_TRUE(mReload.Poll(2000 + RELOAD_QUIET_MS));
  EXPECT_TRUE(mReload.LastReport().timelineRebuilt);
  EXPECT_TRUE(mReload.LastReport().errors.empty()) << Joined(mReload.LastReport().errors);
  std::vector<uint8_t> imported = mDemo.RenderFrame(FRAME_MS);
  EXPECT_GT(DifferentBytes(imported, mBefore), 0u) << "the imported block replaced the opening";

  std::vector<uint8_t> cut = gltf.Glb();
  cut.resize(cut.size() / 2);
  std::ofstream(mFolder / "scenes/opening.glb", std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(cut.data()), static_cast<std::streamsize>(cut.size()));
  EXPECT_FALSE(mReload.Poll(3000));
  ASSERT_TRUE(mReload.Poll(3000 + RELOAD_QUIET_MS));
  EXPECT_TRUE(Mentions(mReload.LastReport().errors, "scenes/opening.glb")) << Joined(mReload.LastReport().errors);
  EXPECT_TRUE(Mentions(mReload.LastReport().errors, "the scene loaded stays")) << Joined(mReload.LastReport().errors);
  EXPECT_FALSE(mReload.Poll(4000 + RELOAD_QUIET_MS)) << "nothing was written";
  EXPECT_EQ(DifferentBytes(mDemo.RenderFrame(FRAME_MS), imported), 0u);
}

}  // namespace
