#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/class_hash.h"
#include "files/core_file_stream.h"
#include "resources/resource_manager.h"
#include "tests/support/critical_exit.h"
#include "tests/support/pack_test.h"

namespace {

int gLiveResources = 0;
int gLoads = 0;

// Reads "txt" and "bmdl" entries whose text does not begin with "bad".
class resTestText : public resourceObject {
  CORE_DECLARE_DYNAMIC(resTestText)
  resTestText() { ++gLiveResources; }
  ~resTestText() override { --gLiveResources; }
  bool CanLoad(CoreFileStream& stream) override { return HasExtension(stream, "txt") || HasExtension(stream, "bmdl"); }
  bool Load(CoreFileStream& stream) override {
    resourceObject::Load(stream);
    ++gLoads;
    text.assign(stream.GetSize(), '\0');
    stream.Read(text.data(), text.size());
    return text.rfind("bad", 0) != 0;
  }
  std::string text;
};

// Accepts the same files but never loads them; its slot comes before resTestText's.
class resTestNoLoad : public resourceObject {
  CORE_DECLARE_DYNAMIC(resTestNoLoad)
  resTestNoLoad() { ++gLiveResources; }
  ~resTestNoLoad() override { --gLiveResources; }
  bool CanLoad(CoreFileStream& stream) override { return HasExtension(stream, "TXT"); }
  bool Load(CoreFileStream& stream) override {
    resourceObject::Load(stream);
    return false;
  }
};

// Its name is a prefix of "resourceObject", so it passes the kind test without being a resource.
class resource : public CoreObject {
  CORE_DECLARE_DYNAMIC(resource)
};

CORE_IMPLEMENT_DYNAMIC(resTestText, resourceObject)
CORE_IMPLEMENT_DYNAMIC(resTestNoLoad, resourceObject)
CORE_IMPLEMENT_DYNAMIC(resource, CoreObject)

class ResourceManagerTest : public PackTest {
 protected:
  void SetUp() override {
    OpenPack({{"data\\model\\a.bmdl", "model text"},
              {"data\\x.mqo.bmdl", "rewritten"},
              {"data\\notes.txt", "notes"},
              {"data\\broken.txt", "bad data"},
              {"data\\image.unknown", "?"},
              {"data\\empty.txt", ""}});
    gLoads = 0;
  }
  void TearDown() override {
    gResourceManager.ClearPreloads();
    EXPECT_TRUE(gResourceManager.Cache().empty()) << "a test leaked a reference";
    EXPECT_EQ(gLiveResources, 0);
    PackTest::TearDown();
  }

  static resTestText* Get(const char* path) {
    return dynamic_cast<resTestText*>(gResourceManager.GetResource(path));
  }
};

using ResourceManagerDeathTest = ResourceManagerTest;

TEST_F(ResourceManagerTest, ModelRequestsShareTheObjectLoadedFromTheBinaryCache) {
  resTestText* first = Get("data\\model\\a.mqo");
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->GetPath(), "data\\model\\a.bmdl");
  EXPECT_EQ(first->GetShortName(), "a");
  EXPECT_EQ(first->text, "model text");
  EXPECT_EQ(Get("data\\model\\a.mqo"), first);
  EXPECT_EQ(first->GetRefCount(), 2);
  EXPECT_EQ(Get("data\\model\\a.bmdl"), first);
  EXPECT_EQ(first->GetRefCount(), 3);
  EXPECT_EQ(gLoads, 1);
  EXPECT_EQ(gResourceManager.Cache().size(), 1u);
  for (int i = 0; i < 3; ++i) first->Release();
}

TEST(ResourceKey, RewritesAnyPathThatContainsMqoAtItsLastDot) {
  EXPECT_EQ(ResourceKey("data\\model\\ship.mqo"), "data\\model\\ship.bmdl");
  EXPECT_EQ(ResourceKey("data\\x.mqo.old"), "data\\x.mqo.bmdl");
  EXPECT_EQ(ResourceKey("data\\model\\ship.MQO"), "data\\model\\ship.MQO") << "the test is case-sensitive";
  EXPECT_EQ(ResourceKey("data\\tex\\a.bmp"), "data\\tex\\a.bmp");
}

TEST_F(ResourceManagerTest, TheRewrittenKeyIsLoadedAndCached) {
  resourceObject* resource = gResourceManager.GetResource("data\\x.mqo.old");
  ASSERT_NE(resource, nullptr);
  EXPECT_EQ(resource->GetPath(), "data\\x.mqo.bmdl");
  resource->Release();
}

TEST_F(ResourceManagerTest, TheFirstClassThatAcceptsAndLoadsWinsAndTheOthersAreDestroyed) {
  ASSERT_LT(ClassNameSlot("resTestNoLoad"), ClassNameSlot("resTestText")) << "the walk order this test relies on";
  resTestText* notes = Get("data\\notes.txt");
  ASSERT_NE(notes, nullptr) << "a class whose load fails is passed over";
  EXPECT_EQ(notes->GetRefCount(), 1);
  EXPECT_EQ(gLiveResources, 1) << "failed candidates are released";
  notes->Release();
}

TEST_F(ResourceManagerTest, FilesNoClassLoadsAndEmptyFilesYieldNull) {
  EXPECT_EQ(gResourceManager.GetResource("data\\image.unknown"), nullptr);
  EXPECT_EQ(gResourceManager.GetResource("data\\broken.txt"), nullptr);
  EXPECT_EQ(gLoads, 1);
  gLoads = 0;
  EXPECT_EQ(gResourceManager.GetResource("data\\empty.txt"), nullptr);
  EXPECT_EQ(gLoads, 0) << "an empty entry is not offered to any class";
  EXPECT_TRUE(gResourceManager.Cache().empty());
  EXPECT_EQ(gLiveResources, 0);
}

TEST_F(ResourceManagerTest, TheLastReleaseUncachesAndALaterRequestLoadsAgain) {
  resTestText* notes = Get("data\\notes.txt");
  resTestText* model = Get("data\\model\\a.bmdl");
  ASSERT_NE(notes, nullptr);
  ASSERT_NE(model, nullptr);
  notes->Release();
  EXPECT_EQ(gResourceManager.Cache(), std::vector<resourceObject*>{model});
  resTestText* again = Get("data\\notes.txt");
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(gLoads, 3);
  EXPECT_EQ(again->GetRefCount(), 1);
  again->Release();
  model->Release();
}

TEST_F(ResourceManagerTest, ReloadReadsTheStoredPathAgain) {
  resTestText* notes = Get("data\\notes.txt");
  ASSERT_NE(notes, nullptr);
  notes->text = "changed";
  EXPECT_TRUE(notes->Reload());
  EXPECT_EQ(notes->text, "notes");
  EXPECT_EQ(notes->GetRefCount(), 1);
  notes->Release();
}

TEST_F(ResourceManagerTest, PreloadsAreKeptOnceAndReacquiredOnEveryLoad) {
  gResourceManager.AddPreload("data\\notes.txt");
  gResourceManager.AddPreload("data\\model\\a.mqo");
  gResourceManager.AddPreload("data\\notes.txt");
  gResourceManager.AddPreload("data\\empty.txt");
  EXPECT_EQ(gResourceManager.Preloads(), (std::vector<std::string>{"data\\notes.txt", "data\\model\\a.mqo", "data\\empty.txt"}));
  gResourceManager.LoadPreloads();
  ASSERT_EQ(gResourceManager.Held().size(), 3u);
  EXPECT_EQ(gResourceManager.Held()[2], nullptr);
  std::vector<resourceObject*> first = gResourceManager.Held();
  gResourceManager.LoadPreloads();
  ASSERT_EQ(gResourceManager.Held().size(), 3u);
  for (resourceObject* resource : gResourceManager.Held()) {
    if (resource) {
      EXPECT_EQ(resource->GetRefCount(), 1);
    }
  }
  EXPECT_EQ(gResourceManager.Cache().size(), 2u);
}

int WeightByLength(const char* path) { return int(std::string(path).size()); }

struct PresentedFrame {
  float progress;
  bool clearFirst;
};

class RecordingScene : public LoadingScene {
 public:
  RecordingScene(std::vector<PresentedFrame>& frames, bool& destroyed) : mFrames(frames), mDestroyed(destroyed) {}
  ~RecordingScene() override { mDestroyed = true; }
  void PresentFrame(float progress, bool clearFirst) override { mFrames.push_back({progress, clearFirst}); }

 private:
  std::vector<PresentedFrame>& mFrames;
  bool& mDestroyed;
};

TEST_F(ResourceManagerTest, ProgressStepsThroughTheLoadingScene) {
  gResourceManager.AddPreload("abc");
  gResourceManager.AddPreload("abcde");
  gResourceManager.ComputeProgressStep(WeightByLength);
  EXPECT_FLOAT_EQ(gResourceManager.ProgressStep(), 1.0f / 8.0f);
  gResourceManager.ComputeProgressStep(nullptr);
  EXPECT_FLOAT_EQ(gResourceManager.ProgressStep(), 0.5f);

  std::vector<PresentedFrame> frames;
  bool firstDestroyed = false, secondDestroyed = false;
  gResourceManager.SetLoadingScene(std::make_unique<RecordingScene>(frames, firstDestroyed));
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(frames[0].progress, 0.0f);
  EXPECT_FALSE(frames[0].clearFirst);

  float before = gResourceManager.Progress();
  gResourceManager.AdvanceProgress();
  gResourceManager.AdvanceProgress();
  ASSERT_EQ(frames.size(), 3u);
  EXPECT_FLOAT_EQ(frames[2].progress, before + 1.0f);
  EXPECT_TRUE(frames[2].clearFirst);

  gResourceManager.SetLoadingScene(std::make_unique<RecordingScene>(frames, secondDestroyed));
  EXPECT_TRUE(firstDestroyed);
  gResourceManager.SetLoadingScene(nullptr);
  EXPECT_TRUE(secondDestroyed);
  gResourceManager.AdvanceProgress();
  EXPECT_EQ(frames.size(), 4u) << "no scene, no frame";
}

TEST_F(ResourceManagerTest, NoPositiveWeightGivesAZeroStep) {
  gResourceManager.ComputeProgressStep(WeightByLength);
  EXPECT_EQ(gResourceManager.ProgressStep(), 0.0f);
}

TEST_F(ResourceManagerDeathTest, APathOutsideThePackIsCritical) {
  EXPECT_CRITICAL_EXIT(gResourceManager.GetResource("data\\missing.txt"), "Critical error:[isFound + \"file not found.\"]");
  EXPECT_CRITICAL_EXIT(gResourceManager.GetResource("data\\model\\b.mqo"), "Critical error:[isFound + \"file not found.\"]");
}

TEST(ResourceObjectClass, IsRegisteredWithCoreObjectAsBase) {
  const CoreRuntimeClass* record = FindRuntimeClass("resourceObject");
  ASSERT_NE(record, nullptr);
  EXPECT_STREQ(record->mName, "resourceObject");
  EXPECT_STREQ(record->mBase->mName, "CoreObject");
  EXPECT_EQ(ShortNameOf("data\\core\\texture\\defaultTexture.bmp"), "defaultTexture");
  EXPECT_EQ(ShortNameOf("plain"), "plain");
}

}  // namespace
