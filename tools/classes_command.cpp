// torvane-tool classes: every registered runtime class in slot order.
#include <cstdio>
#include <cstring>

#include "core/runtime_class.h"
#include "scene/swarm_scene_name.h"
#include "tools/json_writer.h"
#include "tools/tool_command.h"

namespace {

// Torvane's own additions to the classes every player has; each takes over only the scenes that
// ask for it by name.
bool IsOurOwn(const char* name) { return std::strcmp(name, SWARM_CLASS_NAME) == 0; }

int RunClasses(const std::vector<std::string>& args) {
  if (!args.empty()) return ToolUsageError("classes", "takes no arguments");
  JsonWriter json;
  json.BeginArray();
  for (int slot = 0; slot < DYNAMIC_HASH_NUM; ++slot) {
    const CoreRuntimeClass* record = CoreRuntimeClass::mDynHash[slot];
    if (!record) continue;
    json.BeginObject().Key("name").String(record->mName).Key("base");
    if (record->mBase) {
      json.String(record->mBase->mName);
    } else {
      json.Null();
    }
    json.Key("slot").Integer(slot).Key("ours").Bool(IsOurOwn(record->mName)).EndObject();
  }
  json.EndArray();
  std::printf("%s\n", json.Text().c_str());
  return 0;
}

}  // namespace

TORVANE_TOOL_COMMAND(classes, "classes", "list the registered runtime classes as JSON",
                     "usage: torvane-tool classes\n\n"
                     "Prints every registered runtime class as a JSON array of\n"
                     "{\"name\", \"base\", \"slot\", \"ours\"} objects in slot order; \"base\" is null for the\n"
                     "root, and \"ours\" is true for Torvane's own additions (scene classes a production asks for\n"
                     "by name, docs/scenes.md).\n",
                     RunClasses);
