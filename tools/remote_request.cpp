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
  } else {
    error = "unknown command " + cmd;
    return false;
  }
  line = request.Serialize();
  ControlCommand check;
  return ParseControlCommand(line, check, error);
}
