#pragma once
// The four definition files of a production, as the generators collect them: the scene lines, the
// scene animations they play, the post-effect chain and the custom textures.

#include <cstdint>
#include <string>
#include <vector>

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

struct PostEffectConstant {
  std::string param;
  std::vector<double> values;  // 1 to 4: float to float4
};

struct PostEffectSource {
  std::string param;
  std::string type;    // "color" or "depth"
  std::string lineId;  // "3" for a scene line, "w3" for a work buffer
};

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

std::string WriteSceneLineDefine(const Definitions& definitions);
std::string WriteTdfDefine(const Definitions& definitions);
std::string WritePostEffectDefine(const Definitions& definitions);
std::string WriteCustomTextureDefine(const Definitions& definitions);

// "m:ss.mmm" of a demo time, for comments.
std::string ClockText(uint32_t ms);
