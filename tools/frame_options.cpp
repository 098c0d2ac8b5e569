#include "tools/frame_options.h"

#include <cstdlib>

#include "demo/frame_options.h"

bool ParseBoundedInt(const std::string& text, long min, long max, long& value) {
  if (text.empty() || text.size() > 18) return false;
  char* end = nullptr;
  long parsed = std::strtol(text.c_str(), &end, 10);
  if (*end != '\0' || parsed < min || parsed > max) return false;
  value = parsed;
  return true;
}

std::set<std::string> WithFrameOptions(std::set<std::string> valueOptions) {
  valueOptions.insert(demo::FRAME_VALUE_OPTIONS.begin(), demo::FRAME_VALUE_OPTIONS.end());
  return valueOptions;
}

bool ParseFrameOptions(const ToolArgs& args, FrameConfig& frame, std::string& error) {
  for (const std::string& name : demo::FRAME_VALUE_OPTIONS) {
    auto given = args.options.find(name);
    if (given != args.options.end() && !demo::ApplyFrameOption(name, given->second, frame, error)) return false;
  }
  frame.lowQuality = frame.lowQuality || args.Has("--low-quality");
  return true;
}
