#pragma once
// The demo without a window, launcher or audio output: the engine host's start-up of the
// rendering managers and the timeline on a hidden GL context, with every frame composed into an off-screen
// buffer of the chosen size at a demo time the caller picks. Used by `torvane-tool render`, by
// tests that check pictures, and by video capture (fixed-step clock).

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "demo/engine_session.h"
#include "demo/frame_composer.h"
#include "render/drawing_path.h"
#include "render/frame_read_back.h"

class cScreenBuffer;
namespace platform {
class HiddenGLContext;
}

struct HeadlessOptions {
  std::string packPath = "torvane.pak";
  FrameConfig frame;      // size, FSAA level (forced to 0 with low quality), aspect, low quality, every pass
  int readBackDepth = 3;  // frames in flight between QueueFrame and CollectFrame (at least 2)
  render::DrawingPath drawingPath = render::DrawingPath::FixedFunction;
};

class HeadlessDemo {
 public:
  HeadlessDemo();
  ~HeadlessDemo();
  HeadlessDemo(const HeadlessDemo&) = delete;
  HeadlessDemo& operator=(const HeadlessDemo&) = delete;

  // Creates the GL context, opens the pack (a broken pack ends the process with its critical
  // message), starts the managers that rendering needs and loads the timeline. False with error
  // set when no GL context can be created.
  bool Start(const HeadlessOptions& options, std::string& error);
  // Composes the frame at demo time t and returns its pixels: RGBA, top row first.
  std::vector<uint8_t> RenderFrame(uint32_t t);
  // Composes the frame at demo time t into the off-screen output and reads nothing back: for
  // frames wanted only for what they leave in the buffers that keep their contents.
  void ComposeFrame(uint32_t t);
  // Asynchronous read-back: QueueFrame starts copying the frame just composed (false when
  // readBackDepth frames are already in flight), CollectFrame gives the oldest one queued, RGBA
  // with the bottom row first (false when none is in flight).
  bool QueueFrame();
  bool CollectFrame(std::vector<uint8_t>& bottomFirst);
  int FramesInFlight() const { return mReadBack.InFlight(); }
  void Stop();

  int Width() const { return mOptions.frame.width; }
  int Height() const { return mOptions.frame.height; }

 private:
  HeadlessOptions mOptions;
  std::unique_ptr<platform::HiddenGLContext> mContext;
  EngineSession mEngine;
  cScreenBuffer* mOutput = nullptr;
  FrameReadBack mReadBack;
  bool mStarted = false;
};
