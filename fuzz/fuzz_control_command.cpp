// The control channel's request reader (and the JSON reader under it) over arbitrary lines: every
// line gives a command or a reason, and what is read writes back as JSON that reads again.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "dev/control_command.h"
#include "files/json_value.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view line(reinterpret_cast<const char*>(data), size);
  ControlCommand command;
  std::string error;
  if (!ParseControlCommand(line, command, error) && error.empty()) std::abort();
  JsonValue value;
  if (JsonValue::Parse(line, value, error)) {
    JsonValue again;
    if (!JsonValue::Parse(value.Serialize(), again, error) || again.Serialize() != value.Serialize()) std::abort();
  }
  return 0;
}
