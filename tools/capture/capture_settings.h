#pragma once
// What `torvane-tool capture` is asked to do, from its command line.

#include <cstdint>
#include <optional>
#include <string>

#include "demo/frame_composer.h"
#include "tools/capture/capture_codecs.h"
#include "tools/capture/capture_timing.h"
#include "tools/tool_command.h"

struct CaptureSettings {
  std::string packPath;
  std::string musicPath;
  std::string outPath;
  bool toFolder = false;  // a PNG per frame and the music as WAV instead of a video file
  FrameConfig frame;
  uint32_t fps = 60;
  VideoCodec videoCodec = VideoCodec::H264;
  AudioCodec audioCodec = AudioCodec::Aac;
  int crf = 18;
  // The part to capture: demo times from fromMs (inclusive) to toMs (exclusive), or frames.
  std::optional<uint64_t> fromMs;
  std::optional<uint64_t> toMs;
  std::optional<FrameRange> frames;
  // A part made with --from/--to starts at time 0 in the output, as a clip of its own; otherwise
  // it keeps the timestamps it has in the whole capture.
  bool fromZero = false;
  bool quiet = false;
  int segments = 0;  // with --segments N: only print N frame ranges that cover the capture
};

// The option names capture takes.
const std::set<std::string>& CaptureValueOptions();
const std::set<std::string>& CaptureFlagOptions();

// Fills settings from parsed arguments; false with error set on a usage error. Codecs not given
// follow the output's extension: FFV1 and FLAC for .mkv, H.264 and AAC otherwise.
bool ParseCaptureSettings(const ToolArgs& args, CaptureSettings& settings, std::string& error);

// The frames to capture out of a whole of totalFrames; false with error set when the requested
// part holds none of them. A part reaching past the end stops at the end.
bool ResolveFrameRange(const CaptureSettings& settings, int64_t totalFrames, FrameRange& range, std::string& error);
