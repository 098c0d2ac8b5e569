#include "tools/capture/capture_codecs.h"

namespace {

template <class Codec>
struct CodecNames {
  Codec codec;
  const char* name;     // on the command line
  const char* encoder;  // FFmpeg's
};

constexpr CodecNames<VideoCodec> VIDEO_CODECS[] = {{VideoCodec::H264, "h264", "libx264"}, {VideoCodec::Ffv1, "ffv1", "ffv1"}};
constexpr CodecNames<AudioCodec> AUDIO_CODECS[] = {
    {AudioCodec::Aac, "aac", "aac"}, {AudioCodec::Flac, "flac", "flac"}, {AudioCodec::Opus, "opus", "libopus"}};

template <class Codec, size_t N>
std::optional<Codec> Named(const CodecNames<Codec> (&table)[N], const std::string& name) {
  for (const auto& entry : table) {
    if (name == entry.name) return entry.codec;
  }
  return std::nullopt;
}

template <class Codec, size_t N>
const CodecNames<Codec>& EntryOf(const CodecNames<Codec> (&table)[N], Codec codec) {
  for (const auto& entry : table) {
    if (entry.codec == codec) return entry;
  }
  return table[0];
}

}  // namespace

std::optional<VideoCodec> VideoCodecNamed(const std::string& name) { return Named(VIDEO_CODECS, name); }
std::optional<AudioCodec> AudioCodecNamed(const std::string& name) { return Named(AUDIO_CODECS, name); }
const char* VideoCodecName(VideoCodec codec) { return EntryOf(VIDEO_CODECS, codec).name; }
const char* AudioCodecName(AudioCodec codec) { return EntryOf(AUDIO_CODECS, codec).name; }
const char* VideoEncoderName(VideoCodec codec) { return EntryOf(VIDEO_CODECS, codec).encoder; }
const char* AudioEncoderName(AudioCodec codec) { return EntryOf(AUDIO_CODECS, codec).encoder; }
