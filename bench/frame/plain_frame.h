#pragma once
// The test production's frame drawn by hand with plain GL: the same buffers, the same passes as
// the engine draws (only those that change a pixel) and the GLSL of the same effect files,
// compiled with glCreateShader and driven with glUseProgram, glUniform and vertex buffers, and no
// engine object between the frame and GL. It is the
// yardstick for the engine's frame time. Loading borrows the engine's pure readers (pack, model
// cache, scene animation, images, effect text); a frame evaluates the animation keys, camera and
// cuts with the scene animation's own pure functions and makes every GL call itself.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct PlainFrameOptions {
  std::string packPath = "torvane.pak";
  int width = 1280;
  int height = 720;
  int fsaaLevel = 0;
};

class PlainFrame {
 public:
  PlainFrame();
  ~PlainFrame();
  PlainFrame(const PlainFrame&) = delete;
  PlainFrame& operator=(const PlainFrame&) = delete;

  // Creates a hidden GL context and loads the production. False with error set on failure.
  bool Start(const PlainFrameOptions& options, std::string& error);
  // Draws the frame at demo time t into an off-screen output and returns its pixels (RGBA, top
  // row first), as the engine's headless frame does.
  std::vector<uint8_t> RenderFrame(uint32_t t);
  void Stop();

 private:
  struct State;
  std::unique_ptr<State> mState;
};
