#include "production/timeline_definitions.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "core/log.h"
#include "files/definition_xml.h"
#include "files/entry_text.h"

namespace {

constexpr char SCENE_LINE_ROOT_NAME[] = "sceneLineDefine";
constexpr char TDF_ROOT_NAME[] = "tdfDefine";

bool RootNameBeginsWith(const XmlElement& root, const char* prefix) {
  const char* name = root.Attribute("name");
  return name && std::strncmp(name, prefix, std::strlen(prefix)) == 0;
}

std::string Text(const XmlElement& element, const char* attribute) {
  const char* value = element.Attribute(attribute);
  return value ? value : "";
}

// Decimal with optional leading blanks and sign, stopping at the first non-digit; 0 when missing.
long Number(const XmlElement& element, const char* attribute) {
  const char* value = element.Attribute(attribute);
  return value ? std::strtol(value, nullptr, 10) : 0;
}

XmlElement ParseDefinitionFile(const char* path) {
  std::string text = ReadEntryText(path);
  Alert failure;
  XmlElement root = ParseDefinitionXml(text.c_str(), text.size(), DEFINITION_ROOT_TAG, path, failure);
  if (root.IsEmpty()) RaiseAlert("definition", failure);
  return root;
}

// A root named otherwise reads as an empty list, which would leave the author guessing. False.
bool ReportRootName(const char* path, const char* name) {
  Log(LogLevel::Warning, "definition", "%s: the root's \"name\" should begin with \"%s\"; nothing is read", path, name);
  return false;
}

}  // namespace

bool ReadSceneLineEntries(const XmlElement& root, std::vector<SceneLineEntry>& entries) {
  entries.clear();
  if (!RootNameBeginsWith(root, SCENE_LINE_ROOT_NAME)) return false;
  int count = root.ChildCount("SceneLineEntry");
  for (int i = 0; i < count; ++i) {
    XmlElement child = root.Child("SceneLineEntry", i);
    SceneLineEntry entry;
    entry.tdfId = Text(child, "tdfId");
    entry.line = static_cast<int32_t>(Number(child, "line"));
    entry.startTime = static_cast<uint32_t>(Number(child, "sTime"));
    entry.endTime = static_cast<uint32_t>(Number(child, "eTime"));
    entry.shaderName = Text(child, "shader");
    entries.push_back(entry);
  }
  return true;
}

bool ReadTdfEntries(const XmlElement& root, const std::vector<SceneLineEntry>& sceneLines, std::vector<TdfEntry>& entries) {
  entries.clear();
  if (!RootNameBeginsWith(root, TDF_ROOT_NAME)) return false;
  int count = root.ChildCount("TdfEntry");
  for (int i = 0; i < count; ++i) {
    XmlElement child = root.Child("TdfEntry", i);
    entries.push_back({Text(child, "id"), Text(child, "path")});
  }
  std::erase_if(entries, [&](const TdfEntry& entry) {
    return std::none_of(sceneLines.begin(), sceneLines.end(),
                        [&](const SceneLineEntry& line) { return line.tdfId == entry.id; });
  });
  return true;
}

const TdfEntry* FindTdfEntry(const std::vector<TdfEntry>& entries, const std::string& id) {
  const TdfEntry* found = nullptr;
  for (const TdfEntry& entry : entries) {
    if (entry.id == id) found = &entry;
  }
  return found;
}

std::string SceneLineShaderPath(const std::string& shaderName) { return "data\\shader\\" + shaderName + ".cgfx"; }

bool LoadSceneLineDefinitions(std::vector<SceneLineEntry>& entries) {
  entries.clear();
  XmlElement root = ParseDefinitionFile(SCENE_LINE_DEFINE_PATH);
  if (root.IsEmpty()) return false;
  if (!ReadSceneLineEntries(root, entries)) return ReportRootName(SCENE_LINE_DEFINE_PATH, SCENE_LINE_ROOT_NAME);
  return true;
}

bool LoadTdfDefinitions(const std::vector<SceneLineEntry>& sceneLines, std::vector<TdfEntry>& entries) {
  entries.clear();
  XmlElement root = ParseDefinitionFile(TDF_DEFINE_PATH);
  if (root.IsEmpty()) return false;
  if (!ReadTdfEntries(root, sceneLines, entries)) return ReportRootName(TDF_DEFINE_PATH, TDF_ROOT_NAME);
  return true;
}
