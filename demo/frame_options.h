#pragma once
// The options that choose the picture a frame is composed into, spelled alike by the developer
// mode and the tools: --size WxH (--width W and --height H remain as its aliases), --fsaa N and
// --aspect A:B.

#include <string>
#include <vector>

#include "demo/frame_composer.h"

namespace demo {

// The frame options that take a value, in the order they are applied when given together (an
// alias given beside --size sets its one side).
extern const std::vector<std::string> FRAME_VALUE_OPTIONS;

bool IsFrameValueOption(const std::string& name);

// Sets the fields of frame that the option name with value stands for. False with error set when
// the value is malformed or name is none of FRAME_VALUE_OPTIONS.
bool ApplyFrameOption(const std::string& name, const std::string& value, FrameConfig& frame, std::string& error);

}  // namespace demo
