// torvane-tool classes: every registered runtime class in slot order.
#include <cstdio>

#include "core/runtime_class.h"
#include "tools/json_writer.h"
#include "tools/tool_command.h"

namespace {

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
    json.Key("slot").Integer(slot).EndObject();
  }
  json.EndArray();
  std::printf("%s\n", json.Text().c_str());
  return 0;
}

}  // namespace

TORVANE_TOOL_COMMAND(classes, "classes", "list the registered runtime classes as JSON",
                     "usage: torvane-tool classes\n\n"
                     "Prints every registered runtime class as a JSON array of\n"
                     "{\"name\", \"base\", \"slot\"} objects in slot order; \"base\" is null for the root.\n",
                     RunClasses);
