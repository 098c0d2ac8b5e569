#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/runtime_class.h"
#include "scene/swarm_scene_name.h"
#include "tests/support/run_command.h"

namespace {

TEST(ClassesCommand, ListsEveryRecordInSlotOrderWithItsBase) {
  CommandResult result = RunTool({"classes"});
  ASSERT_EQ(result.status, 0) << result.err;
  const std::string& out = result.out;
  EXPECT_EQ(out.front(), '[');
  std::string root = "{\"name\":\"CoreObject\",\"base\":null,\"slot\":" + std::to_string(ClassNameSlot("CoreObject")) +
                     ",\"ours\":false}";
  EXPECT_NE(out.find(root), std::string::npos) << out;
  std::string manager = "{\"name\":\"demoManager\",\"base\":\"Interface<demoManager>\",\"slot\":" +
                        std::to_string(ClassNameSlot("demoManager")) + ",\"ours\":false}";
  EXPECT_NE(out.find(manager), std::string::npos);
  // The one class Torvane adds to the fifty-three every player has is marked as its own.
  std::string swarm = std::string("{\"name\":\"") + SWARM_CLASS_NAME + "\",\"base\":\"CSceneTdfDefault\",\"slot\":" +
                      std::to_string(ClassNameSlot(SWARM_CLASS_NAME)) + ",\"ours\":true}";
  EXPECT_NE(out.find(swarm), std::string::npos) << out;
  size_t ours = 0;
  for (size_t at = out.find("\"ours\":true"); at != std::string::npos; at = out.find("\"ours\":true", at + 1)) ++ours;
  EXPECT_EQ(ours, 1u);

  // Slots appear in ascending order.
  int previous = -1;
  for (size_t at = out.find("\"slot\":"); at != std::string::npos; at = out.find("\"slot\":", at + 1)) {
    int slot = std::stoi(out.substr(at + 7));
    EXPECT_GT(slot, previous);
    previous = slot;
  }
  EXPECT_NE(RunTool({"classes", "extra"}).status, 0);
}

TEST(ClassesCommand, TheEngineRegistersItsFiftyFourClassesInDistinctSlots) {
  CommandResult result = RunTool({"classes"});
  ASSERT_EQ(result.status, 0);
  std::vector<std::string> names;
  for (size_t at = result.out.find("\"name\":\""); at != std::string::npos; at = result.out.find("\"name\":\"", at + 1)) {
    size_t start = at + 8;
    names.push_back(result.out.substr(start, result.out.find('"', start) - start));
  }
  std::vector<std::string> expected = {"CoreObject", "InterfaceBase", "CoreDebug", "CoreFile", "CoreFileStream",
                                       "cTexture", "cScreenBuffer", "cDemoScene", "resourceObject", "resMQO",
                                       "resTDF", "resShader", "resTexture", "cRenderObject", "cMqoRender",
                                       "cTdfRender", "cMassMqoRender", "CSceneTdfDefault", "CSceneTdf_loader",
                                       "CSceneTdf_torvane:swarm"};
  for (const char* manager : {"systemManager", "resourceManager", "textureManager", "messageManager",
                              "intermediateCommand", "flagManager", "sceneManager", "rendererManager",
                              "profileManager", "cameraManager", "lightManager", "customTextureManager",
                              "cPostEffectManager", "applicationManager", "settingsManager", "demoManager",
                              "shaderManager"}) {
    expected.push_back(manager);
    expected.push_back(std::string("Interface<") + manager + ">");
  }
  std::sort(names.begin(), names.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(names, expected);
  EXPECT_EQ(names.size(), 54u);
}

}  // namespace
