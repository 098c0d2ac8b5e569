#include "tools/capture/capture_settings.h"

#include <algorithm>
#include <filesystem>

#include "tools/frame_options.h"

namespace {

constexpr long MAX_FPS = 1000;
constexpr long MAX_CRF = 51;
constexpr long MAX_SEGMENTS = 100000;
constexpr long long MAX_FRAME_NUMBER = 1LL << 40;

bool ParseCount(const std::string& text, long long max, long long& value) {
  long parsed = 0;
  if (!ParseBoundedInt(text, 0, static_cast<long>(max), parsed)) return false;
  value = parsed;
  return true;
}

bool ParseFrameSpan(const std::string& text, FrameRange& range) {
  size_t colon = text.find(':');
  long long first = 0;
  long long end = 0;
  if (colon == std::string::npos || !ParseCount(text.substr(0, colon), MAX_FRAME_NUMBER, first) ||
      !ParseCount(text.substr(colon + 1), MAX_FRAME_NUMBER, end) || end <= first) {
    return false;
  }
  range = {first, end};
  return true;
}

bool IsFolderName(const std::string& path) {
  std::error_code ignored;
  return (!path.empty() && path.back() == '/') || std::filesystem::is_directory(path, ignored);
}

bool ParseCodecs(const ToolArgs& args, CaptureSettings& settings, std::string& error) {
  bool matroska = std::filesystem::path(settings.outPath).extension() == ".mkv";
  std::string video = args.Option("--codec", matroska ? "ffv1" : "h264");
  std::string audio = args.Option("--audio", matroska ? "flac" : "aac");
  std::optional<VideoCodec> videoCodec = VideoCodecNamed(video);
  std::optional<AudioCodec> audioCodec = AudioCodecNamed(audio);
  if (!videoCodec) {
    error = "unknown codec " + video + " (h264 or ffv1)";
    return false;
  }
  if (!audioCodec) {
    error = "unknown sound codec " + audio + " (flac, aac or opus)";
    return false;
  }
  settings.videoCodec = *videoCodec;
  settings.audioCodec = *audioCodec;
  long crf = 0;
  if (!ParseBoundedInt(args.Option("--crf", "18"), 0, MAX_CRF, crf)) {
    error = "--crf must be 0 to 51";
    return false;
  }
  settings.crf = static_cast<int>(crf);
  return true;
}

bool ParsePart(const ToolArgs& args, CaptureSettings& settings, std::string& error) {
  long long ms = 0;
  for (const char* option : {"--from", "--to"}) {
    if (!args.options.count(option)) continue;
    if (!ParseCount(args.Option(option), 0xFFFFFFFFLL, ms)) {
      error = std::string(option) + " needs milliseconds";
      return false;
    }
    (option[2] == 'f' ? settings.fromMs : settings.toMs) = static_cast<uint64_t>(ms);
  }
  if (settings.fromMs && settings.toMs && *settings.toMs <= *settings.fromMs) {
    error = "--to must come after --from";
    return false;
  }
  if (args.options.count("--frames")) {
    if (settings.fromMs || settings.toMs) {
      error = "--frames cannot go with --from or --to";
      return false;
    }
    FrameRange range;
    if (!ParseFrameSpan(args.Option("--frames"), range)) {
      error = "--frames needs A:B with A < B (frames A to B - 1)";
      return false;
    }
    settings.frames = range;
  }
  settings.fromZero = args.Has("--from-zero");
  if (settings.fromZero && settings.frames) {
    error = "--from-zero cannot go with --frames: segments keep their timestamps for capture-join";
    return false;
  }
  return true;
}

}  // namespace

const std::set<std::string>& CaptureValueOptions() {
  static const std::set<std::string> options = WithFrameOptions(
      {"--pack", "--music", "--out", "--fps", "--codec", "--crf", "--audio", "--from", "--to", "--frames", "--segments"});
  return options;
}

const std::set<std::string>& CaptureFlagOptions() {
  static const std::set<std::string> flags = {"--low-quality", "--quiet", "--from-zero"};
  return flags;
}

bool ParseCaptureSettings(const ToolArgs& args, CaptureSettings& settings, std::string& error) {
  if (!args.positional.empty()) {
    error = "takes no positional arguments";
    return false;
  }
  settings.packPath = args.Option("--pack", "torvane.pak");
  settings.musicPath = args.Option("--music", "music.ogg");
  settings.outPath = args.Option("--out");
  settings.quiet = args.Has("--quiet");
  long number = 0;
  if (!ParseBoundedInt(args.Option("--fps", "60"), 1, MAX_FPS, number)) {
    error = "--fps must be 1 to 1000";
    return false;
  }
  settings.fps = static_cast<uint32_t>(number);
  if (args.options.count("--segments")) {
    if (!ParseBoundedInt(args.Option("--segments"), 1, MAX_SEGMENTS, number)) {
      error = "--segments must be a positive count";
      return false;
    }
    settings.segments = static_cast<int>(number);
    return true;
  }
  if (settings.outPath.empty()) {
    error = "--out FILE (or FOLDER/) is required";
    return false;
  }
  settings.toFolder = IsFolderName(settings.outPath);
  settings.frame.width = 1920;
  settings.frame.height = 1080;
  settings.frame.fsaaLevel = 4;
  if (!ParseFrameOptions(args, settings.frame, error)) return false;
  if (settings.frame.lowQuality) settings.frame.fsaaLevel = 0;
  return ParseCodecs(args, settings, error) && ParsePart(args, settings, error);
}

bool ResolveFrameRange(const CaptureSettings& settings, int64_t totalFrames, FrameRange& range, std::string& error) {
  range = {0, totalFrames};
  if (settings.frames) range = *settings.frames;
  if (settings.fromMs) range.first = FirstFrameFromMs(*settings.fromMs, settings.fps);
  if (settings.toMs) range.end = FirstFrameFromMs(*settings.toMs, settings.fps);
  range.end = std::min(range.end, totalFrames);
  if (range.first >= range.end) {
    error = "the part asked for holds no frame: the capture has frames 0 to " + std::to_string(totalFrames - 1);
    return false;
  }
  return true;
}
