#pragma once
// The picture options that commands composing frames share: --width, --height, --fsaa, --aspect
// and --low-quality.

#include <string>

#include "demo/frame_composer.h"
#include "tools/tool_command.h"

// A whole number from min to max written in decimal with nothing after it.
bool ParseBoundedInt(const std::string& text, long min, long max, long& value);

// Overrides the fields of frame (holding the command's defaults) that args give. False with error
// set when one is malformed.
bool ParseFrameOptions(const ToolArgs& args, FrameConfig& frame, std::string& error);
