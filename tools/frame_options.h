#pragma once
// The picture options that commands composing frames share: --size WxH (or --width and
// --height), --fsaa, --aspect and --low-quality.

#include <set>
#include <string>

#include "demo/frame_composer.h"
#include "tools/tool_command.h"

// A whole number from min to max written in decimal with nothing after it.
bool ParseBoundedInt(const std::string& text, long min, long max, long& value);

// The command's own value options with the frame options added.
std::set<std::string> WithFrameOptions(std::set<std::string> valueOptions);

// Overrides the fields of frame (holding the command's defaults) that args give. False with error
// set when one is malformed.
bool ParseFrameOptions(const ToolArgs& args, FrameConfig& frame, std::string& error);
