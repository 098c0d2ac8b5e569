#include "tools/capture/capture_job.h"

#include <unistd.h>

#include <cinttypes>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "demo/headless_demo.h"
#include "tools/capture/decoded_music.h"
#include "tools/capture/encode_worker.h"
#include "tools/capture/ffmpeg_error.h"
#include "tools/capture/frame_loop.h"
#include "tools/capture/interruption.h"
#include "tools/capture/picture_folder_sink.h"
#include "tools/capture/progress_line.h"
#include "tools/capture/temporary_output.h"
#include "tools/capture/video_file_sink.h"

namespace {


int Fail(const std::string& message) {
  std::fprintf(stderr, "torvane-tool capture: %s\n", message.c_str());
  return 1;
}

SoundSlice SliceFor(const tools::DecodedMusic& music, const FrameRange& range, uint32_t fps) {
  int64_t first = std::min(FirstSampleOfFrame(range.first, music.sampleRate, fps), music.Length());
  int64_t end = std::min(FirstSampleOfFrame(range.end, music.sampleRate, fps), music.Length());
  SoundSlice slice;
  slice.samples = music.samples.data() + static_cast<size_t>(first) * music.channels;
  slice.channels = music.channels;
  slice.sampleRate = music.sampleRate;
  slice.firstSample = first;
  slice.count = end - first;
  return slice;
}

std::unique_ptr<FrameSink> OpenSink(const CaptureSettings& settings, const std::string& path, const SoundSlice& sound,
                                    std::string& error) {
  if (settings.toFolder) {
    auto sink = std::make_unique<PictureFolderSink>();
    if (!sink->Open(path, settings.frame.width, settings.frame.height, sound, error)) return nullptr;
    return sink;
  }
  VideoTrackSettings video;
  video.width = settings.frame.width;
  video.height = settings.frame.height;
  video.fps = settings.fps;
  video.codec = settings.videoCodec;
  video.crf = settings.crf;
  auto sink = std::make_unique<VideoFileSink>();
  if (!sink->Open(path, settings.outPath, video, settings.audioCodec, sound, error)) return nullptr;
  return sink;
}

std::string Summary(const CaptureSettings& settings, const FrameRange& range, double seconds) {
  char text[512];
  std::string format = settings.toFolder ? "PNG + WAV"
                                         : std::string(VideoCodecName(settings.videoCodec)) + " + " +
                                               AudioCodecName(settings.audioCodec);
  std::snprintf(text, sizeof text,
                "torvane-tool capture: %" PRId64 " frames (%" PRId64 " to %" PRId64 ") at %u fps, %dx%d, %s, in %s (%.1f fps): %s",
                range.Count(), range.first, range.end - 1, settings.fps, settings.frame.width, settings.frame.height,
                format.c_str(), FormatDuration(seconds).c_str(), seconds > 0 ? static_cast<double>(range.Count()) / seconds : 0.0,
                settings.outPath.c_str());
  return text;
}

}  // namespace

int RunCaptureJob(const CaptureSettings& settings) {
  CatchInterruptions();
  QuietFfmpegLog();
  std::string error;
  tools::DecodedMusic music;
  if (!tools::DecodeMusic(settings.musicPath, music, error)) return Fail(error);
  int64_t total = FrameCountForMusic(music.Length(), music.sampleRate, settings.fps);
  if (total == 0) return Fail(settings.musicPath + " holds no sound, so the production has no frame");
  FrameRange range;
  if (!ResolveFrameRange(settings, total, range, error)) return Fail(error);
  std::error_code ignored;
  if (!std::filesystem::is_regular_file(settings.packPath, ignored)) return Fail("no pack at " + settings.packPath);

  TemporaryOutput output;
  if (!output.Prepare(settings.outPath, settings.toFolder, error)) return Fail(error);
  SoundSlice sound = SliceFor(music, range, settings.fps);
  std::unique_ptr<FrameSink> sink = OpenSink(settings, output.Path(), sound, error);
  if (!sink) return Fail(settings.outPath + ": " + error);
  if (settings.fromZero) sink->SetOrigin(range.first);

  HeadlessDemo demo;
  HeadlessOptions options;
  options.packPath = settings.packPath;
  options.frame = settings.frame;
  options.readBackDepth = CAPTURE_READ_BACK_DEPTH;
  if (!demo.Start(options, error)) return Fail("no GL context: " + error);

  const ProgressStyle style = settings.quiet                ? ProgressStyle::Hidden
                              : isatty(STDERR_FILENO) != 0 ? ProgressStyle::InPlace
                                                           : ProgressStyle::Lines;
  ProgressLine progress(stderr, style);
  EncodeWorker worker(*sink, CAPTURE_QUEUE_FRAMES);
  FrameLoop loop(demo, worker, settings.fps);
  loop.WarmUp(range.first);
  progress.Start(range.Count());
  bool completed = loop.Run(range, progress);
  if (Interrupted()) {
    worker.Abandon();
    output.Discard();
    progress.Print("torvane-tool capture: interrupted; " + settings.outPath + " not written");
    return INTERRUPTED_EXIT_STATUS;
  }
  if (!worker.Finish(error) || !completed) {
    progress.Clear();
    return Fail(settings.outPath + ": " + (error.empty() ? std::string("a frame could not be read back") : error));
  }
  progress.Update(worker.FramesStored());
  double seconds = progress.ElapsedSeconds();
  demo.Stop();
  if (!output.Commit(error)) return Fail(error);
  progress.Print(Summary(settings, range, seconds));
  return 0;
}

int PrintCaptureSegments(const CaptureSettings& settings) {
  std::string error;
  tools::DecodedMusic music;
  if (!tools::DecodeMusic(settings.musicPath, music, error)) return Fail(error);
  int64_t total = FrameCountForMusic(music.Length(), music.sampleRate, settings.fps);
  int64_t parts = std::min<int64_t>(settings.segments, total);
  for (int64_t k = 0; k < parts; ++k) std::printf("%" PRId64 ":%" PRId64 "\n", total * k / parts, total * (k + 1) / parts);
  return 0;
}
