// The seventeen managers, defined in one translation unit so that they are constructed, and
// therefore registered, in exactly this order.
#include "core/flag_manager.h"
#include "core/frame_step.h"
#include "core/message_manager.h"
#include "core/profile_manager.h"
#include "demo/application_manager.h"
#include "demo/demo_manager.h"
#include "demo/scene_manager.h"
#include "render/camera_manager.h"
#include "render/intermediate_command.h"
#include "render/light_manager.h"
#include "render/renderer_manager.h"
#include "render/shader_manager.h"
#include "render/texture_manager.h"
#include "resources/custom_texture_manager.h"
#include "resources/post_effect_manager.h"
#include "resources/resource_manager.h"
#include "shell/settings_manager.h"
#include "shell/system_manager.h"

systemManager gSystemManager;
resourceManager gResourceManager;
textureManager gTextureManager;
messageManager gMessageManager;
intermediateCommand gIntermediateCommand;
flagManager gFlagManager;
sceneManager gSceneManager;
rendererManager gRendererManager;
profileManager gProfileManager;
cameraManager gCameraManager;
lightManager gLightManager;
customTextureManager gCustomTextureManager;
cPostEffectManager gPostEffectManager;
applicationManager gApplicationManager;
settingsManager gSettingsManager;
demoManager gDemoManager;
shaderManager gShaderManager;

bool RunFrame() {
  return RunFrame({&gProfileManager, &gFlagManager, &gSystemManager, &gRendererManager, &gDemoManager});
}
