#include <cmath>
#include <map>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "files/tdf_document.h"
#include "files/tdf_tokens.h"

namespace {

// Models handed out by the test loader, with the path each was asked for.
std::map<const ModelData*, std::string> gLoadedPaths;

const ModelData* RecordingLoader(int32_t, const std::string& path) {
  static std::vector<std::unique_ptr<ModelData>> models;
  const ModelData* model = models.emplace_back(std::make_unique<ModelData>()).get();
  gLoadedPaths[model] = path;
  return model;
}

const ModelData* NoModels(int32_t, const std::string&) { return nullptr; }

std::string PathInSlot(const TdfDocument& document, int slot) {
  const ModelData* model = document.GetModel(slot);
  EXPECT_EQ(model ? gLoadedPaths[model] : std::string(), document.GetModelPath(slot));
  return model ? gLoadedPaths[model] : std::string();
}

const char HEADER[] = "TScene Demo File\nFormat Text Ver 1.0\nmade by hand\n";

TEST(TdfTokens, SplitWordsAtParenthesesAndKnowTheEnd) {
  TdfTokens tokens("dif(0.800) amb(0.600)\n");
  std::vector<std::string> seen;
  for (int i = 0; i < 7; ++i) seen.push_back(tokens.ReadToken());
  EXPECT_EQ(seen, (std::vector<std::string>{"dif", "0.800", "", "amb", "0.600", "", ""}));
  EXPECT_TRUE(tokens.AtEnd());
  TdfTokens block("{ a { b } c } d");
  block.SkipBlock();
  EXPECT_EQ(block.ReadToken(), "d");
  EXPECT_EQ(block.WordsLeft(), 0u);
}

TEST(TdfTokens, KnowTheLineOfTheWordEachTokenCameFrom) {
  TdfTokens tokens("a\n\n  b(1)\r\n\tc\n{ d\n");
  std::vector<std::pair<std::string, int>> seen;
  for (int i = 0; i < 6; ++i) {
    std::string token = tokens.ReadToken();
    seen.emplace_back(token, tokens.Line());
  }
  using Seen = std::vector<std::pair<std::string, int>>;
  EXPECT_EQ(seen, (Seen{{"a", 1}, {"b", 3}, {"1", 3}, {"", 3}, {"c", 4}, {"{", 5}}));
  tokens.SkipBlock();
  EXPECT_EQ(tokens.Line(), 5);
}

TEST(TdfModelTable, HashDisablesOneEntryAndSlotsKeepTheirModels) {
  TdfDocument document;
  document.ParseTdfText(std::string(HEADER) +
                            "MQO {\n  0 \"data\\model\\first.mqo\"\n  # 1 \"data\\model\\second.mqo\"\n"
                            "  2 \"data\\model\\third.mqo\"\n  #4 \"data\\model\\fourth.mqo\"\n  5 \"data\\model\\fifth.mqo\"\n}\nEof\n",
                        RecordingLoader);
  EXPECT_EQ(PathInSlot(document, 0), "data\\model\\first.mqo");
  EXPECT_EQ(document.GetModel(1), nullptr);
  EXPECT_EQ(PathInSlot(document, 2), "data\\model\\third.mqo");
  EXPECT_EQ(document.GetModel(4), nullptr);
  EXPECT_EQ(PathInSlot(document, 5), "data\\model\\fifth.mqo");
}

TEST(TdfModelTable, SlotsOutsideTheTableAreRejectedAndRewrittenSlotsKeepTheLater) {
  TdfDocument document;
  int loads = 0;
  static int* counter = &loads;
  document.ParseTdfText("MQO {\n 256 \"a.mqo\"\n -1 \"b.mqo\"\n 3 \"c.mqo\"\n 3 \"d.mqo\"\n}\nEof",
                        [](int32_t slot, const std::string& path) { ++*counter; return RecordingLoader(slot, path); });
  EXPECT_EQ(loads, 2);
  EXPECT_EQ(PathInSlot(document, 3), "d.mqo");
  EXPECT_EQ(document.GetModel(256), nullptr);
  EXPECT_EQ(document.GetModel(-1), nullptr);
}

TEST(TdfModelTable, CountModelReferencesCountsMqoTokensInTheBlock) {
  EXPECT_EQ(CountModelReferencesInText(std::string(HEADER) +
                                       "MQO {\n 0 \"a.mqo\"\n # 1 \"b.mqo\"\n 2 \"c.MQO\"\n}\nScene \"x.mqo\" {\n}\nEof"),
            2);
  EXPECT_EQ(CountModelReferencesInText("MQO { 0 \"a.mqo\""), 1);  // ends without its brace
}

const char CAMERA_SCENE[] =
    "Scene \"intro\" {\n"
    "  Object -1 {\n"
    "    CameraTrans 1\n    Visible 1\n    DataNum 3\n"
    "    Time { 0 1 2 }\n"
    "    Part \"camera_pos\" {\n"
    "      Position { 0 0 0  10 0 0  40 0 0 }\n"
    "      Rotation { 0 0 0  1 0 0  2 0 0 }\n"
    "      Scale { 1 1 1  3 3 3  5 5 5 }\n"
    "      Alpha { 1 0 1 }\n"
    "    }\n"
    "    Part \"camera_lookat\" {\n      Position { 1 2 3  4 5 6  7 8 9 }\n    }\n"
    "    Part \"elsewhere\" {\n      Position { 9 9 9  9 9 9  9 9 9 }\n    }\n"
    "  }\n"
    "}\n";

TEST(TdfScenes, CameraObjectKeepsItsFlagsTimesAndPartKeys) {
  TdfDocument document;
  document.ParseTdfText(std::string(HEADER) + CAMERA_SCENE + "Eof\n", NoModels);
  ASSERT_EQ(document.GetSceneCount(), 1u);
  const TdfScene& scene = document.GetScene(0);
  EXPECT_EQ(scene.name, "intro");
  ASSERT_EQ(scene.objects.size(), 1u);
  const TdfObject& camera = scene.objects[0];
  EXPECT_EQ(camera.modelIndex, -1);
  EXPECT_EQ(camera.CameraTrans, 1);
  EXPECT_EQ(camera.Visible, 1);
  EXPECT_EQ(camera.times, (std::vector<float>{0, 1, 2}));
  EXPECT_EQ(camera.parts.size(), 2u);  // the unknown part's values were read and dropped
  const std::vector<TdfKey>& eye = camera.parts.at("camera_pos");
  EXPECT_EQ(eye[2].position[0], 40.0f);
  EXPECT_EQ(eye[1].rotation[0], 1.0f);
  EXPECT_EQ(eye[2].scale[2], 5.0f);
  EXPECT_EQ(eye[1].alpha, 0.0f);
  EXPECT_EQ(camera.parts.at("camera_lookat")[1].position, (std::array<float, 3>{4, 5, 6}));
  EXPECT_EQ(camera.parts.at("camera_lookat")[1].alpha, 1.0f);
  EXPECT_EQ(document.GetSceneEndTimes(), (std::vector<float>{2}));
}

TEST(TdfGetKey, QuadraticPositionsAndLinearEverythingElse) {
  TdfDocument document;
  document.ParseTdfText(std::string(HEADER) + CAMERA_SCENE + "Eof\n", NoModels);
  const TdfObject& camera = document.GetScene(0).objects[0];
  TdfKey early = camera.GetKey("camera_pos", 0.5f);
  EXPECT_FLOAT_EQ(early.position[0], 2.5f);
  EXPECT_FLOAT_EQ(early.rotation[0], 0.5f);
  EXPECT_FLOAT_EQ(early.scale[1], 2.0f);
  EXPECT_FLOAT_EQ(early.alpha, 0.5f);
  TdfKey late = camera.GetKey("camera_pos", 1.5f);
  EXPECT_FLOAT_EQ(late.position[0], 22.5f);
  EXPECT_FLOAT_EQ(late.rotation[0], 1.5f);
  // At the keys themselves the curve passes through the key positions.
  EXPECT_FLOAT_EQ(camera.GetKey("camera_pos", 1.0f).position[0], 10.0f);
  EXPECT_FLOAT_EQ(camera.GetKey("camera_pos", 2.0f).position[0], 40.0f);
  // Negative times count as 0; after the last key the last key holds.
  EXPECT_EQ(camera.GetKey("camera_pos", -3.0f).position, camera.GetKey("camera_pos", 0.0f).position);
  EXPECT_EQ(camera.GetKey("camera_pos", 99.0f).position[0], 40.0f);
  EXPECT_EQ(camera.GetKey("camera_pos", 99.0f).alpha, 1.0f);
  // An unknown part gives the default key.
  TdfKey unknown = camera.GetKey("nothing", 1.0f);
  EXPECT_EQ(unknown.alpha, 1.0f);
  EXPECT_EQ(unknown.scale, (std::array<float, 3>{1, 1, 1}));
}

TdfObject CameraWith(const std::vector<float>& times, const std::vector<float>& xs) {
  TdfObject object;
  object.times = times;
  std::vector<TdfKey>& keys = object.parts["camera_pos"];
  for (float x : xs) {
    TdfKey key;
    key.position[0] = x;
    keys.push_back(key);
  }
  return object;
}

TEST(TdfGetKey, TwoKeysAreLinearOneKeyHoldsAndEarlyTimesTakeTheLastKey) {
  EXPECT_FLOAT_EQ(CameraWith({0, 2}, {0, 10}).GetKey("camera_pos", 0.5f).position[0], 2.5f);
  TdfObject single = CameraWith({3}, {7});
  for (float time : {-1.0f, 0.0f, 3.0f, 100.0f}) EXPECT_EQ(single.GetKey("camera_pos", time).position[0], 7.0f);
  TdfObject late = CameraWith({5, 6}, {1, 2});
  EXPECT_EQ(late.GetKey("camera_pos", 0.0f).position[0], 2.0f);
  TdfObject together = CameraWith({1, 1, 2}, {4, 5, 6});
  EXPECT_EQ(together.GetKey("camera_pos", 1.0f).position[0], 4.0f);  // equal times: s = 0
  EXPECT_EQ(CameraWith({}, {}).GetKey("camera_pos", 1.0f).alpha, 1.0f);
}

TEST(TdfScenes, SceneEndTimesAddTheFirstObjectsLastTimes) {
  TdfDocument document;
  document.ParseTdfText(
      "Scene \"a\" {\n Object -1 {\n  DataNum 2\n  Time { 0 10 }\n  Part \"camera_pos\" {\n  }\n }\n}\n"
      "Scene \"b\" {\n Object -1 {\n  DataNum 2\n  Time { 1 4 }\n  Part \"camera_pos\" {\n  }\n }\n}\n"
      "Scene \"empty\" {\n}\n",
      NoModels);
  EXPECT_EQ(document.GetSceneEndTimes(), (std::vector<float>{10, 14, 14}));
}

TEST(TdfScenes, EmptySlotsSkipPartsAndObjectsWithoutPartsEndTheScene) {
  TdfDocument document;
  document.ParseTdfText(std::string(HEADER) +
                            "Scene \"s\" {\n"
                            " Object 7 {\n  CameraTrans 0\n  Visible 1\n  DataNum 1\n  Time { 0 }\n"
                            "  Part \"hull\" {\n   Position { 1 2 3 }\n  }\n }\n"
                            " Object -1 {\n  DataNum 1\n  Time { 0 }\n }\n"
                            " Object -1 {\n  DataNum 1\n  Time { 5 }\n  Part \"camera_pos\" {\n  }\n }\n"
                            "}\n"
                            "Scene \"next\" {\n}\nEof\n",
                        NoModels);
  ASSERT_EQ(document.GetSceneCount(), 2u);
  const TdfScene& scene = document.GetScene(0);
  // The second object has no part, so its brace ends the scene and the third object is lost.
  ASSERT_EQ(scene.objects.size(), 2u);
  EXPECT_EQ(scene.objects[0].modelIndex, 7);
  EXPECT_TRUE(scene.objects[0].parts.empty());
  EXPECT_EQ(scene.objects[0].CameraTrans, 0);
  EXPECT_EQ(scene.objects[1].parts.size(), 2u);
  EXPECT_EQ(document.GetScene(1).name, "next");
}

TEST(TdfScenes, QuotedNamesDropOneTrailingQuoteAndTheTextMayEndWithoutEof) {
  TdfDocument document;
  document.ParseTdfText("Scene \"twice\"\" {\n Object -1 {\n  DataNum 1\n  Time { 2 }\n  Part \"camera_pos\" {\n  }\n }\n}\n"
                        "Scene \"cut\" {\n Object -1 {\n  DataNum 1\n",
                        NoModels);
  ASSERT_EQ(document.GetSceneCount(), 2u);
  EXPECT_EQ(document.GetScene(0).name, "twice\"");
  EXPECT_EQ(document.GetScene(1).name, "cut");
  EXPECT_EQ(document.GetSceneEndTimes(), (std::vector<float>{2, 2}));
}

TEST(TdfScenes, KeyCountsBeyondTheTextAreCut) {
  TdfDocument document;
  document.ParseTdfText("Scene \"s\" {\n Object -1 {\n  DataNum 2000000000\n  Time { 1 2 }\n  Part \"camera_pos\" {\n  }\n }\n}\n",
                        NoModels);
  ASSERT_EQ(document.GetSceneCount(), 1u);
  const TdfObject& camera = document.GetScene(0).objects[0];
  EXPECT_LT(camera.parts.at("camera_pos").size(), 40u);
  EXPECT_EQ(camera.times[1], 2.0f);
}

}  // namespace
