#pragma once
// Frame composition: the active scene of each line rendered into that line's buffer (with
// jittered supersampling averaged by an effect), the post-effect chain over the line and work
// buffers, and the letter-boxed final pass to the window. Owns the buffers and the three core
// effects from Create to Destroy.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>

#include "demo/jitter_tables.h"
#include "demo/letterbox.h"
#include "demo/scene_line_table.h"
#include <GL/glew.h>

#include "resources/post_effect_entry.h"

class cScreenBuffer;
class resShader;

inline constexpr const char NULL_POST_EFFECT_PATH[] = "data\\core\\shader\\nullPostEffect.cgfx";
inline constexpr const char FINAL_SCREEN_SHADER_PATH[] = "data\\core\\shader\\finalScreenShader.cgfx";
inline constexpr const char MSAA_SHADER_PATH[] = "data\\core\\shader\\msaa.cgfx";

struct FrameConfig {
  int width = 1280;  // window client size; every buffer has this size
  int height = 720;
  int fsaaLevel = 0;  // 0, 2, 4 or 8 renders per line
  int aspectWidth = 16;
  int aspectHeight = 9;
  bool lowQuality = false;  // 8-bit buffers instead of 16-bit floating point
  bool loop = false;        // only reported in the screen-state text
};

// Draws the scene of scene line entry `entry` at `phase` into the bound buffer.
using DrawSceneFunction = std::function<void(int entry, float phase)>;

enum class FramePass { SceneLine, PostEffect, PassThrough, FinalScreen };

// Told where each pass of a frame begins and ends, in order and never nested (the developer mode
// times them on the GPU). index: the line for a scene line, the entry for a post-effect, else 0.
class FramePassObserver {
 public:
  virtual ~FramePassObserver() = default;
  virtual void PassBegin(FramePass pass, int index) = 0;
  virtual void PassEnd() = 0;
};

class FrameComposer {
 public:
  FrameComposer();
  ~FrameComposer();
  FrameComposer(const FrameComposer&) = delete;
  FrameComposer& operator=(const FrameComposer&) = delete;

  // Creates the buffers (temporary, ten lines, ten work, final) and gets the three core effects.
  void Create(const FrameConfig& config);
  void Destroy();

  // One whole frame at demo time t: clear, scene lines, post-effects, clear, final screen.
  void ComposeFrame(uint32_t t, const SceneLineTable& lines, const DrawSceneFunction& drawScene);

  // Returns the number of lines rendered.
  int renderSceneLines(uint32_t t, const SceneLineTable& lines, const DrawSceneFunction& drawScene);
  // Returns the number of post-effect entries run (0 after the pass-through path).
  int renderPostEffects(uint32_t t);
  void composeFinalScreen();

  // Where the final screen goes: the window (framebuffer 0, the default) or, for headless
  // rendering and capture, an off-screen framebuffer of the window's size.
  void SetOutputFramebuffer(GLuint framebuffer) { mOutputFramebuffer = framebuffer; }
  GLuint OutputFramebuffer() const { return mOutputFramebuffer; }
  // Null (the default) for none.
  void SetPassObserver(FramePassObserver* observer) { mPassObserver = observer; }

  const FrameConfig& Config() const { return mConfig; }
  int CurrentSampleIndex() const { return mCurrentSample; }
  cScreenBuffer* LineBuffer(int line) const { return mLineBuffers[line]; }
  cScreenBuffer* WorkBuffer(int index) const { return mWorkBuffers[index]; }
  cScreenBuffer* FinalBuffer() const { return mFinalBuffer; }
  cScreenBuffer* TemporaryBuffer() const { return mTemporaryBuffer; }

 private:
  void RenderLine(int line, const SceneSlot& slot, uint32_t t, const DrawSceneFunction& drawScene);
  void SetBufferSamplers(resShader* effect);
  // The final buffer for -1, work buffer n for 0 to 9, none for anything else.
  cScreenBuffer* TargetBuffer(int32_t renderTarget) const;
  void ScreenQuad(const ScreenRect& rect, resShader* effect);
  void RunPass(resShader* effect, int pass, const ScreenRect& rect);
  void BindOutput();
  void BeginPass(FramePass pass, int index) {
    if (mPassObserver) mPassObserver->PassBegin(pass, index);
  }
  void EndPass() {
    if (mPassObserver) mPassObserver->PassEnd();
  }

  FrameConfig mConfig;
  cScreenBuffer* mTemporaryBuffer = nullptr;
  std::array<cScreenBuffer*, POST_EFFECT_BUFFER_COUNT> mLineBuffers{};
  std::array<cScreenBuffer*, POST_EFFECT_BUFFER_COUNT> mWorkBuffers{};
  cScreenBuffer* mFinalBuffer = nullptr;
  resShader* mNullPostEffect = nullptr;
  resShader* mFinalScreenShader = nullptr;
  resShader* mMsaaShader = nullptr;
  std::span<const JitterPoint> mJitterTable;
  int mCurrentSample = 0;
  float mUScale = 1.0f;
  float mVScale = 1.0f;
  GLuint mOutputFramebuffer = 0;
  FramePassObserver* mPassObserver = nullptr;
};
