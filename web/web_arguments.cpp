#include "web/web_arguments.h"

#include <charconv>

#include "demo/frame_options.h"

namespace {

bool ParseMilliseconds(const std::string& text, uint32_t& ms) {
  const char* end = text.data() + text.size();
  auto [next, failure] = std::from_chars(text.data(), end, ms);
  return failure == std::errc() && next == end && !text.empty();
}

}  // namespace

bool ParseWebArguments(int argc, const char* const* argv, WebArguments& arguments, std::string& error) {
  for (int i = 1; i < argc; ++i) {
    std::string name = argv[i];
    if (name == "--low-quality") {
      arguments.frame.lowQuality = true;
      continue;
    }
    if (i + 1 >= argc) {
      error = name + " needs a value";
      return false;
    }
    std::string value = argv[++i];
    if (name == "--at") {
      uint32_t ms = 0;
      if (!ParseMilliseconds(value, ms)) {
        error = "--at wants milliseconds, not \"" + value + "\"";
        return false;
      }
      arguments.at = ms;
    } else if (!demo::ApplyFrameOption(name, value, arguments.frame, error)) {
      return false;
    }
  }
  if (arguments.frame.lowQuality) arguments.frame.fsaaLevel = 0;
  return true;
}
