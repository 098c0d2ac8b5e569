#pragma once
// The four definition files of a production, as the generators collect them: the scene lines, the
// scene animations they play, the post-effect chain and the custom textures.

#include <cstdint>
#include <string>
#include <vector>

#include "resources/post_effect_entry.h"

struct SceneLineDefinition {
  std::string tdfId;
  int line = 0;
  uint32_t start = 0, end = 0;  // milliseconds, both ends drawn
  std::string shader = "default";
};

struct TdfDefinition {
  std::string id;
  std::string path;  // pack path
};

// A post-effect entry as the generators make it; its constants and sources are the engine's own,
// made from text as the player reads them (PostEffectConstantOf, PostEffectSourceOf).
struct PostEffectDefinition {
  uint32_t start = 0, end = 0;
  std::string shader;
  int priority = 0;
  int pass = -1;
  int target = -1;
  std::vector<PostEffectConstant> constants;
  std::vector<PostEffectSource> sources;
  std::string comment;  // written above the entry
};

struct CustomTextureDefinition {
  std::string sampler;
  std::string path;
};

struct Definitions {
  std::vector<SceneLineDefinition> sceneLines;
  std::vector<TdfDefinition> tdfs;
  std::vector<PostEffectDefinition> postEffects;
  std::vector<CustomTextureDefinition> customTextures;
};

// A constant of 1 to 4 components holding exactly what the player reads from the text the
// generators write for values (four decimals at most).
PostEffectConstant PostEffectConstantOf(const std::string& param, const std::vector<double>& values);
// A source of type "color" or "depth" bound to lineId: "3" for a scene line, "w3" for a work buffer.
PostEffectSource PostEffectSourceOf(const std::string& param, const std::string& type, const std::string& lineId);

std::string WriteSceneLineDefine(const Definitions& definitions);
std::string WriteTdfDefine(const Definitions& definitions);
std::string WritePostEffectDefine(const Definitions& definitions);
std::string WriteCustomTextureDefine(const Definitions& definitions);

// "m:ss.mmm" of a demo time, for comments.
std::string ClockText(uint32_t ms);
