#pragma once
// Frame composition: the active scene of each line rendered into that line's buffer (with
// jittered supersampling averaged by an effect), the post-effect chain over the line and work
// buffers, and the letter-boxed final pass to the window. Owns the buffers and the three core
// effects from Create to Destroy.
//
// Only what can change a pixel is drawn: buffers that nothing draws into stand in with a shared
// blank texture (UseBuffers), the first supersample goes straight into its line buffer and the
// last add divides, when the supersampling effect is the plain average (plain_average.h), and a
// post-effect, clear or border that later passes overwrite before anything reads it is skipped.
// Every frame is the same to the last bit as with FrameConfig::everyPass, which draws them all.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

#include "demo/jitter_tables.h"
#include "demo/letterbox.h"
#include "demo/scene_line_table.h"
#include "demo/screen_buffer_use.h"

#include "production/frame_effect_paths.h"
#include "render/frame_pass.h"
#include "resources/post_effect_entry.h"

class cScreenBuffer;
class cTexture;
class resShader;

struct FrameConfig {
  int width = 1280;  // window client size; every buffer has this size
  int height = 720;
  int fsaaLevel = 0;  // 0, 2, 4 or 8 renders per line
  int aspectWidth = 16;
  int aspectHeight = 9;
  bool lowQuality = false;  // 8-bit buffers instead of 16-bit floating point
  bool loop = false;        // only reported in the screen-state text
  // Every buffer at the screen size and every pass and clear as the steps describe them, skipped
  // or not: the reference that the shortcuts are checked against.
  bool everyPass = false;
};

// What the last frame drew, by step (each step counts its own last run).
struct PassInventory {
  int scenePasses = 0;        // scene renders, one per active line and sample
  int supersamplePasses = 0;  // copies, adds and divides of the supersampling average
  int postEffectPasses = 0;   // post-effect and pass-through passes
  int finalPasses = 0;        // border and picture of the final screen
  int outputClears = 0;       // colour clears of the output
};

// Draws the scene of scene line entry `entry` at `phase` into the bound buffer.
using DrawSceneFunction = std::function<void(int entry, float phase)>;

class FrameComposer {
 public:
  FrameComposer();
  ~FrameComposer();
  FrameComposer(const FrameComposer&) = delete;
  FrameComposer& operator=(const FrameComposer&) = delete;

  // Creates the final buffer, the line and work buffers that UseBuffers asked for (all of them
  // with everyPass) and the temporary buffer when supersampling needs it, and gets the three core
  // effects. The other buffers stand in with a shared blank texture until something draws into
  // them, which gives them storage then.
  void Create(const FrameConfig& config);
  void Destroy();
  // The line and work buffers that need storage at the screen size; kept across Create, and
  // applied at once to buffers that exist (a dropped buffer loses its picture).
  void UseBuffers(const ScreenBufferUse& use);

  // One whole frame at demo time t: clear, scene lines, post-effects, clear, final screen.
  void ComposeFrame(uint32_t t, const SceneLineTable& lines, const DrawSceneFunction& drawScene);

  // Returns the number of lines rendered.
  int renderSceneLines(uint32_t t, const SceneLineTable& lines, const DrawSceneFunction& drawScene);
  // Returns the number of post-effect entries run (0 after the pass-through path).
  int renderPostEffects(uint32_t t);
  void composeFinalScreen();

  // Where the final screen goes: the window (framebuffer 0, the default) or, for headless
  // rendering and capture, an off-screen framebuffer of the window's size.
  void SetOutputFramebuffer(unsigned framebuffer) { mOutputFramebuffer = framebuffer; }
  unsigned OutputFramebuffer() const { return mOutputFramebuffer; }
  // Null (the default) for none.
  void SetPassObserver(FramePassObserver* observer) { mPassObserver = observer; }

  const FrameConfig& Config() const { return mConfig; }
  int CurrentSampleIndex() const { return mCurrentSample; }
  // A line or work buffer, or the shared stand-in when it has no storage of its own.
  cScreenBuffer* LineBuffer(int line) const { return mLineBuffers[line]; }
  cScreenBuffer* WorkBuffer(int index) const { return mWorkBuffers[index]; }
  cScreenBuffer* FinalBuffer() const { return mFinalBuffer.get(); }
  // Null while no supersampling step has needed one.
  cScreenBuffer* TemporaryBuffer() const { return mTemporaryBuffer.get(); }
  const PassInventory& LastInventory() const { return mInventory; }
  // Bytes of GL storage in every buffer the composition owns.
  size_t ScreenBufferBytes() const;

 private:
  struct ActivePostEffect {
    size_t entry;
    resShader* effect;
    cScreenBuffer* target;
  };
  struct FinalScreenPlan {
    bool clearColour = true;
    bool drawBorder = true;
  };

  std::unique_ptr<cScreenBuffer> MakeBuffer(uint32_t flags) const;
  void ApplyBufferUse();
  // Gives buffer storage of its own when used, else the stand-in.
  void Provide(std::unique_ptr<cScreenBuffer>& storage, cScreenBuffer*& buffer, bool used, uint32_t flags);
  // The buffer with storage of its own, made now when the plan had none for it.
  cScreenBuffer* LineStorage(int line);
  cScreenBuffer* WorkStorage(int index);
  cScreenBuffer* Temporary();
  // Whether this frame may draw the first supersample straight into the line buffer.
  bool CanAverageDirectly(const SceneLineTable& lines) const;
  void RenderLineStepByStep(int line, const SceneSlot& slot, uint32_t t, const DrawSceneFunction& drawScene);
  void RenderLineDirectly(int line, const SceneSlot& slot, uint32_t t, const DrawSceneFunction& drawScene);
  void DrawSample(cScreenBuffer* target, int sample, const SceneSlot& slot, uint32_t t, const DrawSceneFunction& drawScene);
  void RunAveragePass(int pass);
  void RunLastAddDividing(int samples);
  void SetBufferSamplers(resShader* effect);
  std::vector<ActivePostEffect> ActivePostEffects(uint32_t t);
  void SetPostEffectParameters(const ActivePostEffect& active, uint32_t t);
  std::vector<bool> FindHiddenEntries(const std::vector<ActivePostEffect>& active, uint32_t t);
  // The final buffer for -1, work buffer n for 0 to 9, none for anything else.
  cScreenBuffer* TargetBuffer(int32_t renderTarget);
  FinalScreenPlan PlanFinalScreen() const;
  bool FinalPassReplacesOutput(int pass) const;
  void DrawFinalScreen(const FinalScreenPlan& plan);
  void ScreenQuad(const ScreenRect& rect, resShader* effect);
  // Sets and resets the pass; draws the quad only when draw is true, so that a skipped pass still
  // leaves its sampler states on the textures as a drawn one does.
  void RunPass(resShader* effect, int pass, const ScreenRect& rect, bool draw = true);
  void BindOutput();
  void BeginPass(FramePass pass, int index) {
    if (mPassObserver) mPassObserver->PassBegin(pass, index);
  }
  void EndPass() {
    if (mPassObserver) mPassObserver->PassEnd();
  }

  FrameConfig mConfig;
  ScreenBufferUse mBufferUse;
  std::unique_ptr<cTexture> mBlankColour;
  std::unique_ptr<cTexture> mBlankDepth;
  std::unique_ptr<cScreenBuffer> mStandIn;
  std::unique_ptr<cScreenBuffer> mTemporaryBuffer;
  std::array<std::unique_ptr<cScreenBuffer>, POST_EFFECT_BUFFER_COUNT> mLineStorage;
  std::array<std::unique_ptr<cScreenBuffer>, POST_EFFECT_BUFFER_COUNT> mWorkStorage;
  std::array<cScreenBuffer*, POST_EFFECT_BUFFER_COUNT> mLineBuffers{};
  std::array<cScreenBuffer*, POST_EFFECT_BUFFER_COUNT> mWorkBuffers{};
  std::unique_ptr<cScreenBuffer> mFinalBuffer;
  bool mPlainAverage = false;
  PassInventory mInventory;
  resShader* mNullPostEffect = nullptr;
  resShader* mFinalScreenShader = nullptr;
  resShader* mMsaaShader = nullptr;
  std::span<const JitterPoint> mJitterTable;
  int mCurrentSample = 0;
  float mUScale = 1.0f;
  float mVScale = 1.0f;
  unsigned mOutputFramebuffer = 0;
  FramePassObserver* mPassObserver = nullptr;
};
