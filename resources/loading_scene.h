#pragma once
// What the resource manager needs from the loading screen while it loads: one presented frame at
// a given progress. The demo's loading scene implements it around its scene cut and the renderer;
// the manager owns the installed one.

class LoadingScene {
 public:
  virtual ~LoadingScene() = default;

  // Draws one frame of the loading screen and presents it (swaps buffers). progress runs from 0
  // to 1. With clearFirst the colour and depth buffers are cleared to opaque black before the
  // scene's BeginFrame, DrawFrame and EndFrame run with renderer 0 and phase progress.
  virtual void PresentFrame(float progress, bool clearFirst) = 0;
};
