// torvane-tool render: frames of a production at chosen demo times, composed headless, as PNGs.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "demo/headless_demo.h"
#include "files/output_file.h"
#include "tools/capture/encode_worker.h"
#include "tools/capture/picture_folder_sink.h"
#include "tools/frame_options.h"
#include "tools/tool_command.h"

namespace {

// Frames composed ahead of the one being written: enough to keep both threads busy.
constexpr size_t WRITE_QUEUE_DEPTH = 2;

bool ParseTimes(const std::string& text, std::vector<uint32_t>& times) {
  std::istringstream list(text);
  for (std::string item; std::getline(list, item, ',');) {
    char* end = nullptr;
    unsigned long value = std::strtoul(item.c_str(), &end, 10);
    if (item.empty() || *end != '\0' || item[0] == '-' || value > 0xFFFFFFFFul) return false;
    times.push_back(static_cast<uint32_t>(value));
  }
  return !times.empty();
}

// The pictures are compressed and written on a thread of their own while the next frame is
// composed; each path is printed once its file is complete.
int ComposeAndWrite(HeadlessDemo& demo, const std::vector<uint32_t>& times, const std::filesystem::path& outDir) {
  PictureFolderSink sink;
  sink.OpenWithoutMusic(outDir.string(), demo.Width(), demo.Height());
  EncodeWorker worker(sink, WRITE_QUEUE_DEPTH);
  bool composed = true;
  for (uint32_t t : times) {
    demo.ComposeFrame(t);
    CapturedFrame frame{t, worker.SpareBuffer()};
    composed = demo.QueueFrame() && demo.CollectFrame(frame.pixels);
    if (!composed || !worker.Push(std::move(frame))) break;
  }
  std::string error;
  const bool written = worker.Finish(error);
  for (int64_t i = 0; i < worker.FramesStored(); ++i) std::printf("%s\n", (outDir / PictureName(times[static_cast<size_t>(i)])).c_str());
  if (!composed) error = "cannot read frame " + std::to_string(times[static_cast<size_t>(worker.FramesStored())]) + " back";
  if (written && composed) return 0;
  std::fprintf(stderr, "torvane-tool render: %s\n", error.c_str());
  return 1;
}

int RunRender(const std::vector<std::string>& rawArgs) {
  ToolArgs args;
  std::string error;
  if (!ParseToolArgs(rawArgs, WithFrameOptions({"--pack", "--at", "--out"}),
                     {"--low-quality", "--every-pass", "--webgl-path"}, args, error)) {
    return ToolUsageError("render", error);
  }
  if (!args.positional.empty()) return ToolUsageError("render", "takes no positional arguments");
  HeadlessOptions options;
  options.packPath = args.Option("--pack", "torvane.pak");
  if (!ParseFrameOptions(args, options.frame, error)) return ToolUsageError("render", error);
  options.frame.everyPass = args.Has("--every-pass");
  if (args.Has("--webgl-path")) options.drawingPath = render::DrawingPath::WebGl2;
  std::vector<uint32_t> times;
  if (!ParseTimes(args.Option("--at"), times)) return ToolUsageError("render", "--at needs milliseconds T1,T2,...");
  std::filesystem::path outDir = args.Option("--out");
  if (outDir.empty()) return ToolUsageError("render", "--out DIR is required");
  if (!std::filesystem::exists(options.packPath)) {
    std::fprintf(stderr, "torvane-tool render: no pack at %s\n", options.packPath.c_str());
    return 1;
  }
  if (!MakeOutputFolder(outDir.string(), error)) {
    std::fprintf(stderr, "torvane-tool render: %s\n", error.c_str());
    return 1;
  }

  HeadlessDemo demo;
  if (!demo.Start(options, error)) {
    std::fprintf(stderr, "torvane-tool render: no GL context: %s\n", error.c_str());
    return 1;
  }
  return ComposeAndWrite(demo, times, outDir);
}

}  // namespace

TORVANE_TOOL_COMMAND(render, "render", "compose frames of a production headless and write them as PNGs",
                     "usage: torvane-tool render --pack PAK --size WxH [--fsaa N] [--aspect A:B]\n"
                     "                           [--low-quality] [--every-pass] [--webgl-path]\n"
                     "                           --at T1,T2,... --out DIR\n\n"
                     "Starts the production in PAK without window, launcher or sound, loads it as the\n"
                     "player does, and composes the frame at each demo time Ti (milliseconds) at W x H\n"
                     "with FSAA level N (0, 2, 4 or 8) and display aspect A:B (default 16:9). Each frame\n"
                     "is written to DIR/frame_TTTTTTTT.png and its path printed. --every-pass draws\n"
                     "every buffer, pass and clear, also those that change no pixel: the frames must be\n"
                     "the same as without it. --webgl-path draws as the web build does (vertex buffers,\n"
                     "the engine's own matrices, effects as GLSL ES 3.00). --width W --height H is\n"
                     "another way to write --size WxH.\n"
                     "Needs a display (Xvfb will do).\n",
                     RunRender);
