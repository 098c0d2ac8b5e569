#pragma once
// FFmpeg's text for one of its error codes.

#include <string>

std::string FfmpegErrorText(int code);

// FFmpeg's own log says nothing below errors: the tools report progress and problems themselves.
void QuietFfmpegLog();
