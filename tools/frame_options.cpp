#include "tools/frame_options.h"

#include <cstdlib>

namespace {

constexpr long MAX_FRAME_SIDE = 16384;

bool ParseSide(const std::string& text, int& value) {
  long parsed = 0;
  if (!ParseBoundedInt(text, 1, MAX_FRAME_SIDE, parsed)) return false;
  value = static_cast<int>(parsed);
  return true;
}

bool ParseAspect(const std::string& text, int& width, int& height) {
  size_t colon = text.find(':');
  return colon != std::string::npos && ParseSide(text.substr(0, colon), width) && ParseSide(text.substr(colon + 1), height);
}

}  // namespace

bool ParseBoundedInt(const std::string& text, long min, long max, long& value) {
  if (text.empty() || text.size() > 18) return false;
  char* end = nullptr;
  long parsed = std::strtol(text.c_str(), &end, 10);
  if (*end != '\0' || parsed < min || parsed > max) return false;
  value = parsed;
  return true;
}

bool ParseFrameOptions(const ToolArgs& args, FrameConfig& frame, std::string& error) {
  if (!ParseSide(args.Option("--width", std::to_string(frame.width)), frame.width) ||
      !ParseSide(args.Option("--height", std::to_string(frame.height)), frame.height)) {
    error = "--width and --height must be positive";
    return false;
  }
  std::string fsaa = args.Option("--fsaa", std::to_string(frame.fsaaLevel));
  if (fsaa != "0" && fsaa != "2" && fsaa != "4" && fsaa != "8") {
    error = "--fsaa must be 0, 2, 4 or 8";
    return false;
  }
  frame.fsaaLevel = std::atoi(fsaa.c_str());
  std::string aspect = std::to_string(frame.aspectWidth) + ":" + std::to_string(frame.aspectHeight);
  if (!ParseAspect(args.Option("--aspect", aspect), frame.aspectWidth, frame.aspectHeight)) {
    error = "--aspect must be A:B";
    return false;
  }
  frame.lowQuality = frame.lowQuality || args.Has("--low-quality");
  return true;
}
