#include "dev/control_command.h"

#include <cmath>

#include "files/json_value.h"
#include "files/sync_track.h"

namespace {

// A member that must be a whole number of milliseconds in 32 bits.
bool ReadMilliseconds(const JsonValue& request, const char* name, uint32_t& ms, std::string& error) {
  const JsonValue* value = request.Find(name);
  if (!value || !value->IsNumber()) {
    error = std::string("\"") + name + "\" must be a number of milliseconds";
    return false;
  }
  double number = value->Number();
  if (number < 0.0 || number > 4294967295.0 || number != std::floor(number)) {
    error = std::string("\"") + name + "\" must be a whole number from 0 to 4294967295";
    return false;
  }
  ms = static_cast<uint32_t>(number);
  return true;
}

bool ReadPath(const JsonValue& request, bool required, std::string& path, std::string& error) {
  const JsonValue* value = request.Find("path");
  if (!value) {
    if (required) error = "\"path\" is missing";
    return !required;
  }
  if (!value->IsString() || value->String().empty()) {
    error = "\"path\" must be a non-empty string";
    return false;
  }
  path = value->String();
  return true;
}

bool ReadTrackName(const JsonValue& request, const char* member, std::string& track, std::string& error) {
  const JsonValue* value = request.Find(member);
  if (!value || !value->IsString() || value->String().empty()) {
    error = std::string("\"") + member + "\" must be a track's name";
    return false;
  }
  track = value->String();
  return true;
}

bool ReadRow(const JsonValue& request, uint32_t& row, std::string& error) {
  const JsonValue* value = request.Find("row");
  if (!value || !value->IsNumber() || value->Number() < 0.0 || value->Number() > 4294967295.0 ||
      value->Number() != std::floor(value->Number())) {
    error = "\"row\" must be a whole number from 0 to 4294967295";
    return false;
  }
  row = static_cast<uint32_t>(value->Number());
  return true;
}

bool ReadKey(const JsonValue& request, ControlCommand& command, std::string& error) {
  if (!ReadTrackName(request, "track", command.track, error) || !ReadRow(request, command.row, error)) return false;
  const JsonValue* value = request.Find("value");
  if (!value || !value->IsNumber() || !std::isfinite(static_cast<float>(value->Number()))) {
    error = "\"value\" must be a number";
    return false;
  }
  command.value = static_cast<float>(value->Number());
  const JsonValue* interpolation = request.Find("interpolation");
  if (!interpolation) return true;
  const std::string name = interpolation->IsString() ? interpolation->String()
                           : interpolation->IsNumber() ? JsonValue(interpolation->Number()).Serialize()
                                                       : "";
  command.interpolation = ParseSyncInterpolation(name);
  if (command.interpolation < 0) {
    error = "\"interpolation\" must be 0 to 3 or step, linear, smooth, ramp";
    return false;
  }
  return true;
}

bool ReadLoop(const JsonValue& request, ControlCommand& command, std::string& error) {
  const JsonValue* off = request.Find("off");
  if (off) {
    if (!off->IsBool() || !off->Bool()) {
      error = "\"off\" can only be true";
      return false;
    }
    command.kind = ControlCommandKind::LoopOff;
    return true;
  }
  command.kind = ControlCommandKind::Loop;
  return ReadMilliseconds(request, "from", command.from, error) && ReadMilliseconds(request, "to", command.to, error);
}

}  // namespace

bool ParseControlCommand(std::string_view line, ControlCommand& command, std::string& error) {
  command = ControlCommand{};
  JsonValue request;
  if (!JsonValue::Parse(line, request, error)) {
    error = "not JSON: " + error;
    return false;
  }
  if (!request.IsObject()) {
    error = "a request is a JSON object";
    return false;
  }
  const JsonValue* name = request.Find("cmd");
  if (!name || !name->IsString()) {
    error = "\"cmd\" is missing";
    return false;
  }
  const std::string& cmd = name->String();
  if (cmd == "state") {
    command.kind = ControlCommandKind::State;
  } else if (cmd == "seek") {
    command.kind = ControlCommandKind::Seek;
    return ReadMilliseconds(request, "ms", command.ms, error);
  } else if (cmd == "play") {
    command.kind = ControlCommandKind::Play;
  } else if (cmd == "pause") {
    command.kind = ControlCommandKind::Pause;
  } else if (cmd == "loop") {
    return ReadLoop(request, command, error);
  } else if (cmd == "reload") {
    command.kind = ControlCommandKind::Reload;
    return ReadPath(request, false, command.path, error);
  } else if (cmd == "screenshot") {
    command.kind = ControlCommandKind::Screenshot;
    return ReadPath(request, true, command.path, error);
  } else if (cmd == "quit") {
    command.kind = ControlCommandKind::Quit;
  } else if (cmd == "tracks") {
    command.kind = ControlCommandKind::Tracks;
  } else if (cmd == "track") {
    command.kind = ControlCommandKind::Track;
    return ReadTrackName(request, "name", command.track, error);
  } else if (cmd == "set_key") {
    command.kind = ControlCommandKind::SetKey;
    return ReadKey(request, command, error);
  } else if (cmd == "delete_key") {
    command.kind = ControlCommandKind::DeleteKey;
    return ReadTrackName(request, "track", command.track, error) && ReadRow(request, command.row, error);
  } else {
    error = "unknown command \"" + cmd + "\"";
    return false;
  }
  return true;
}

std::string ControlErrorAnswer(const std::string& reason) {
  return JsonValue::Object().Set("error", reason).Serialize();
}
