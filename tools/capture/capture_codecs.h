#pragma once
// The codecs a capture can write: the names the command line uses and FFmpeg's encoders for them.

#include <optional>
#include <string>

enum class VideoCodec { H264, Ffv1 };
enum class AudioCodec { Aac, Flac, Opus };

std::optional<VideoCodec> VideoCodecNamed(const std::string& name);
std::optional<AudioCodec> AudioCodecNamed(const std::string& name);
const char* VideoCodecName(VideoCodec codec);
const char* AudioCodecName(AudioCodec codec);
const char* VideoEncoderName(VideoCodec codec);
const char* AudioEncoderName(AudioCodec codec);
