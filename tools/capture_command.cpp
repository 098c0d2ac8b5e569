// torvane-tool capture: a production to a video file (or a folder of pictures), frame-exact, with
// its music.
#include "tools/capture/capture_job.h"
#include "tools/tool_command.h"

namespace {

int RunCapture(const std::vector<std::string>& rawArgs) {
  ToolArgs args;
  std::string error;
  CaptureSettings settings;
  if (!ParseToolArgs(rawArgs, CaptureValueOptions(), CaptureFlagOptions(), args, error) ||
      !ParseCaptureSettings(args, settings, error)) {
    return ToolUsageError("capture", error);
  }
  return settings.segments > 0 ? PrintCaptureSegments(settings) : RunCaptureJob(settings);
}

}  // namespace

TORVANE_TOOL_COMMAND(capture, "capture", "record a production to a video file with its music, frame-exact",
                     "usage: torvane-tool capture --pack PAK --music MUSIC --out FILE|FOLDER/ [--size WxH]\n"
                     "           [--fps F] [--fsaa N] [--aspect A:B] [--low-quality] [--codec h264|ffv1] [--crf N]\n"
                     "           [--audio flac|aac|opus] [--from MS] [--to MS] [--from-zero] [--frames A:B] [--quiet]\n"
                     "       torvane-tool capture --music MUSIC [--fps F] --segments N\n\n"
                     "Plays the production in PAK headless and records every frame at a fixed step: frame n\n"
                     "is composed at demo time n*1000/F ms (rounded down), so the picture never drifts from\n"
                     "the music, which is decoded by the player's own decoders and starts with frame 0. The\n"
                     "capture ends with the music: ceil(music samples * F / sample rate) frames.\n\n"
                     "Defaults: 1920x1080, 60 fps, FSAA 4, aspect 16:9. The container follows FILE's\n"
                     "extension; .mkv defaults to FFV1 (lossless RGB) with FLAC, anything else (.mp4) to\n"
                     "H.264 (yuv420p, CRF 18, no B-frames) with AAC. A FOLDER/ (or an existing folder) gets\n"
                     "frame_NNNNNNNN.png per frame and music.wav. The output is written under a temporary\n"
                     "name and renamed when complete; the folders on its way are made.\n\n"
                     "  --from MS, --to MS  only frames whose demo time is from MS on / before MS; the part\n"
                     "                      keeps its timestamps in the whole capture\n"
                     "  --from-zero         the part starts at time 0 instead (a clip to share)\n"
                     "  --frames A:B        only frames A to B-1: a segment whose timestamps and sound start\n"
                     "                      where they are in the whole capture (join with capture-join)\n"
                     "  --segments N        print N ranges A:B that split the whole capture, one a line\n"
                     "  --quiet             no progress line, only the summary\n"
                     "  --width W --height H  another way to write --size WxH\n\n"
                     "Needs a display (Xvfb will do). Exit status 130 after Ctrl+C, 1 on failure.\n",
                     RunCapture);
