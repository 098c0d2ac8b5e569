#pragma once
// A hidden window with a current OpenGL 2 context and GLEW initialised: for headless tools
// (rendering, effect checks) and GL tests. Needs a display (Xvfb will do).

#include <string>

namespace platform {

class HiddenGLContext {
 public:
  HiddenGLContext() = default;
  ~HiddenGLContext();
  HiddenGLContext(const HiddenGLContext&) = delete;
  HiddenGLContext& operator=(const HiddenGLContext&) = delete;

  // Creates the window (width × height drawable, 24 colour and 16 depth bits, double-buffered)
  // and makes its context current. False with Error() set on failure.
  bool Create(int width, int height);
  void Destroy();
  void SwapBuffers();

  bool IsCreated() const { return mContext != nullptr; }
  const std::string& Error() const { return mError; }

 private:
  void* mWindow = nullptr;
  void* mContext = nullptr;
  bool mOwnsVideo = false;
  std::string mError;
};

}  // namespace platform
