#pragma once
// The timeline's two definition files: the scene lines ("sceneLineDefine.xml") and the scene
// animation files they play ("tdfDefine.xml"). The readers are pure (an XML tree in, entries out);
// the loaders read the files from the pack.

#include <cstdint>
#include <string>
#include <vector>

#include "files/xml_element.h"

inline constexpr const char SCENE_LINE_DEFINE_PATH[] = "data\\definition\\sceneLineDefine.xml";
inline constexpr const char TDF_DEFINE_PATH[] = "data\\definition\\tdfDefine.xml";
inline constexpr const char DEFAULT_SHADER_NAME[] = "default";

struct SceneLineEntry {
  std::string tdfId;
  int32_t line = 0;
  uint32_t startTime = 0;  // written as signed decimals, compared as unsigned
  uint32_t endTime = 0;
  int32_t rangeStart = 0;   // handed on to the scene
  int32_t rangeEnd = -1;
  std::string shaderName;   // "default" or an effect base name
};

struct TdfEntry {
  std::string id;
  std::string path;
};

// The scene lines of a tree whose root is named "sceneLineDefine..."; false (and nothing read)
// for another root name.
bool ReadSceneLineEntries(const XmlElement& root, std::vector<SceneLineEntry>& entries);

// The scene animation entries of a tree whose root is named "tdfDefine...", keeping only those
// that some scene line uses; false (and nothing read) for another root name.
bool ReadTdfEntries(const XmlElement& root, const std::vector<SceneLineEntry>& sceneLines, std::vector<TdfEntry>& entries);

// The entry a scene line plays: the last entry with its id, or null.
const TdfEntry* FindTdfEntry(const std::vector<TdfEntry>& entries, const std::string& id);

// The effect path of a scene line's shader name: "data\shader\" + name + ".cgfx".
std::string SceneLineShaderPath(const std::string& shaderName);

// Read and parse the definition files from the pack (a parse failure has shown its message);
// false leaves the list empty.
bool LoadSceneLineDefinitions(std::vector<SceneLineEntry>& entries);
bool LoadTdfDefinitions(const std::vector<SceneLineEntry>& sceneLines, std::vector<TdfEntry>& entries);
