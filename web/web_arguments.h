#pragma once
// What the page asks the browser player for, passed as arguments to main: the frame options of the
// tools (--size WxH, --fsaa N, --aspect A:B), --low-quality, and --at MS for one paused frame.

#include <cstdint>
#include <optional>
#include <string>

#include "demo/frame_composer.h"

struct WebArguments {
  FrameConfig frame;
  std::optional<uint32_t> at;  // the demo time of the one frame shown, paused and silent
};

// False with error set on an unknown option or a malformed value.
bool ParseWebArguments(int argc, const char* const* argv, WebArguments& arguments, std::string& error);
