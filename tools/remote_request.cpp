#include "tools/remote_request.h"

#include <cstdlib>
#include <filesystem>

#include "dev/control_command.h"
#include "files/json_value.h"

namespace {

bool ParseMilliseconds(const std::string& text, double& ms) {
  char* end = nullptr;
  unsigned long long value = std::strtoull(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || text[0] == '-' || value > 4294967295ull) return false;
  ms = static_cast<double>(value);
  return true;
}

bool WrongCount(const std::vector<std::string>& words, size_t count, std::string& error) {
  if (words.size() == count) return false;
  error = words[0] + " takes " + std::to_string(count - 1) + " argument(s)";
  return true;
}

// set_key TRACK ROW VALUE [INTERPOLATION]
bool KeyRequest(const std::vector<std::string>& words, JsonValue& request, std::string& error) {
  double row = 0;
  char* end = nullptr;
  const double value = words.size() >= 4 ? std::strtod(words[3].c_str(), &end) : 0.0;
  if (words.size() < 4 || words.size() > 5 || !ParseMilliseconds(words[2], row) || words[3].empty() || *end != '\0') {
    error = "set_key needs TRACK ROW VALUE [INTERPOLATION], ROW a whole number";
    return false;
  }
  request.Set("track", words[1]).Set("row", row).Set("value", value);
  if (words.size() == 5) request.Set("interpolation", words[4]);
  return true;
}

}  // namespace

bool BuildRemoteRequest(const std::vector<std::string>& words, std::string& line, std::string& error) {
  if (words.empty()) {
    error = "no command";
    return false;
  }
  const std::string& cmd = words[0];
  JsonValue request = JsonValue::Object().Set("cmd", cmd);
  if (cmd == "send") {
    if (WrongCount(words, 2, error)) return false;
    line = words[1];
    return true;
  }
  if (cmd == "state" || cmd == "play" || cmd == "pause" || cmd == "quit") {
    if (WrongCount(words, 1, error)) return false;
  } else if (cmd == "seek") {
    double ms = 0;
    if (WrongCount(words, 2, error)) return false;
    if (!ParseMilliseconds(words[1], ms)) {
      error = "seek needs milliseconds";
      return false;
    }
    request.Set("ms", ms);
  } else if (cmd == "loop") {
    double from = 0;
    double to = 0;
    if (words.size() == 2 && words[1] == "off") {
      request.Set("off", true);
    } else if (words.size() != 3 || !ParseMilliseconds(words[1], from) || !ParseMilliseconds(words[2], to)) {
      error = "loop needs FROM TO in milliseconds, or off";
      return false;
    } else {
      request.Set("from", from).Set("to", to);
    }
  } else if (cmd == "reload") {
    if (words.size() > 2) {
      error = "reload takes at most a path";
      return false;
    }
    if (words.size() == 2) request.Set("path", words[1]);
  } else if (cmd == "screenshot") {
    if (WrongCount(words, 2, error)) return false;
    request.Set("path", std::filesystem::absolute(words[1]).string());
  } else if (cmd == "tracks") {
    if (WrongCount(words, 1, error)) return false;
  } else if (cmd == "track") {
    if (WrongCount(words, 2, error)) return false;
    request.Set("name", words[1]);
  } else if (cmd == "set_key") {
    if (!KeyRequest(words, request, error)) return false;
  } else if (cmd == "delete_key") {
    double row = 0;
    if (WrongCount(words, 3, error)) return false;
    if (!ParseMilliseconds(words[2], row)) {
      error = "delete_key needs TRACK ROW, ROW a whole number";
      return false;
    }
    request.Set("track", words[1]).Set("row", row);
  } else {
    error = "unknown command " + cmd;
    return false;
  }
  line = request.Serialize();
  ControlCommand check;
  return ParseControlCommand(line, check, error);
}
