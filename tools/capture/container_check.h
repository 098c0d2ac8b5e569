#pragma once
// Whether a container can hold a codec, for the capture's files and for joined segments.

#include <string>

extern "C" {
#include <libavcodec/codec_id.h>
}

struct AVFormatContext;

// True when format's container holds codec, readying the muxer for it; false with error set.
bool ContainerTakes(AVFormatContext& format, AVCodecID codec, std::string& error);
