#include "demo/frame_options.h"

#include <algorithm>
#include <cstdlib>

namespace demo {

const std::vector<std::string> FRAME_VALUE_OPTIONS = {"--size", "--width", "--height", "--fsaa", "--aspect"};

namespace {

constexpr long MAX_FRAME_SIDE = 16384;

bool ParseSide(const std::string& text, int& value) {
  if (text.empty() || text.size() > 5 || text.find_first_not_of("0123456789") != std::string::npos) return false;
  long parsed = std::strtol(text.c_str(), nullptr, 10);
  if (parsed < 1 || parsed > MAX_FRAME_SIDE) return false;
  value = static_cast<int>(parsed);
  return true;
}

bool ParsePair(const std::string& text, char separator, int& first, int& second) {
  size_t at = text.find(separator);
  return at != std::string::npos && ParseSide(text.substr(0, at), first) && ParseSide(text.substr(at + 1), second);
}

bool Refuse(const std::string& message, std::string& error) {
  error = message;
  return false;
}

}  // namespace

bool IsFrameValueOption(const std::string& name) {
  return std::find(FRAME_VALUE_OPTIONS.begin(), FRAME_VALUE_OPTIONS.end(), name) != FRAME_VALUE_OPTIONS.end();
}

bool ApplyFrameOption(const std::string& name, const std::string& value, FrameConfig& frame, std::string& error) {
  if (name == "--size") {
    return ParsePair(value, 'x', frame.width, frame.height) || Refuse("--size must be WxH", error);
  }
  if (name == "--width") return ParseSide(value, frame.width) || Refuse("--width must be positive", error);
  if (name == "--height") return ParseSide(value, frame.height) || Refuse("--height must be positive", error);
  if (name == "--fsaa") {
    if (value != "0" && value != "2" && value != "4" && value != "8") return Refuse("--fsaa must be 0, 2, 4 or 8", error);
    frame.fsaaLevel = std::atoi(value.c_str());
    return true;
  }
  if (name == "--aspect") {
    return ParsePair(value, ':', frame.aspectWidth, frame.aspectHeight) || Refuse("--aspect must be A:B", error);
  }
  return Refuse("unknown option " + name, error);
}

}  // namespace demo
