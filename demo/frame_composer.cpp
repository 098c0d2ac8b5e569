#include "demo/frame_composer.h"

#include <algorithm>
#include <cstdio>

#include "core/debug_output.h"
#include "core/log.h"
#include "demo/hidden_post_effects.h"
#include "demo/plain_average.h"
#include "render/blank_texture.h"
#include "render/drawing_path.h"
#include "render/effect/draw_state.h"
#include "render/effect/effect.h"
#include "render/immediate_draw.h"
#include "render/matrix_stack.h"
#include "render/screen_buffer.h"
#include "render/screen_pass.h"
#include "render/shader_manager.h"
#include "render/texture.h"
#include "render/texture_manager.h"
#include "resources/custom_texture_manager.h"
#include "resources/post_effect_manager.h"
#include "resources/res_shader.h"
#include "resources/resource_manager.h"
#include "scene/render_object.h"

namespace {

constexpr float REFERENCE_WIDTH = 1280.0f;
constexpr float REFERENCE_HEIGHT = 720.0f;
constexpr int MSAA_COPY_PASS = 0;
constexpr int MSAA_ADD_PASS = 1;
constexpr int MSAA_DIVIDE_PASS = 2;
constexpr int FINAL_PICTURE_PASS = 0;
constexpr int FINAL_BORDER_PASS = 1;

resShader* GetEffect(const char* path) { return dynamic_cast<resShader*>(gResourceManager.GetResource(path)); }

void ReleaseEffect(resShader*& effect) {
  if (effect) effect->Release();
  effect = nullptr;
}

unsigned TextureName(const cTexture* texture) { return texture ? gTextureManager.lookupName(texture) : 0; }

void SetSampler(resShader* effect, const char* name, const cTexture* texture) {
  unsigned glName = TextureName(texture);
  effect->setParameter(name, &glName);
}

// "prefix" followed by one decimal digit.
void SetIndexedSampler(resShader* effect, const char* prefix, int index, const cTexture* texture) {
  char name[32];
  std::snprintf(name, sizeof name, "%s%c", prefix, static_cast<char>('0' + index));
  SetSampler(effect, name, texture);
}

bool IsPowerOfTwo(int n) { return n > 0 && (n & (n - 1)) == 0; }

bool SameRect(const ScreenRect& a, const ScreenRect& b) {
  return a.x0 == b.x0 && a.y0 == b.y0 && a.x1 == b.x1 && a.y1 == b.y1;
}

}  // namespace

FrameComposer::FrameComposer() = default;

FrameComposer::~FrameComposer() { Destroy(); }

std::unique_ptr<cScreenBuffer> FrameComposer::MakeBuffer(uint32_t flags) const {
  const ScreenBufferFormat format = mConfig.lowQuality ? ScreenBufferFormat::Rgba8 : ScreenBufferFormat::Rgba16Float;
  return std::make_unique<cScreenBuffer>(mConfig.width, mConfig.height, format, flags);
}

void FrameComposer::Create(const FrameConfig& config) {
  Destroy();
  mConfig = config;
  // A browser may not draw into float buffers; a picture in 8-bit ones beats a black one.
  if (render::OnWebGl2Path() && !mConfig.lowQuality && !FloatScreenBuffersDrawable()) {
    Log(LogLevel::Error, "render",
        "this browser cannot draw into floating-point buffers (WebGL 2 without EXT_color_buffer_float): the "
        "production is drawn in 8-bit buffers, as in low quality");
    mConfig.lowQuality = true;
  }
  mBlankColour.reset(CreateBlankColourTexture());
  mBlankDepth.reset(CreateBlankDepthTexture());
  mStandIn = std::make_unique<cScreenBuffer>(mBlankColour.get(), mBlankDepth.get());
  // Nothing draws into the temporary buffer's own depth: the scenes draw into their line's.
  if (config.everyPass) mTemporaryBuffer = MakeBuffer(SCREEN_BUFFER_COLOR | SCREEN_BUFFER_DEPTH);
  ApplyBufferUse();
  mFinalBuffer = MakeBuffer(SCREEN_BUFFER_COLOR);

  if (const cTexture* colour = mFinalBuffer->GetColor()) {
    mUScale = colour->GetUScale();
    mVScale = colour->GetVScale();
  }
  mFinalScreenShader = GetEffect(FINAL_SCREEN_SHADER_PATH);
  mNullPostEffect = GetEffect(NULL_POST_EFFECT_PATH);
  SetJitterViewport(static_cast<double>(static_cast<unsigned>(config.width)),
                    static_cast<double>(static_cast<unsigned>(config.height)));
  mJitterTable = JitterTableForLevel(config.fsaaLevel);
  mMsaaShader = GetEffect(MSAA_SHADER_PATH);
  mPlainAverage = !config.everyPass && mMsaaShader && mMsaaShader->getEffect() && IsPlainAverage(*mMsaaShader->getEffect());
  if (!mPlainAverage || config.fsaaLevel > 1) Temporary();
}

void FrameComposer::Destroy() {
  ReleaseEffect(mMsaaShader);
  ReleaseEffect(mNullPostEffect);
  ReleaseEffect(mFinalScreenShader);
  mTemporaryBuffer.reset();
  for (auto& buffer : mLineStorage) buffer.reset();
  for (auto& buffer : mWorkStorage) buffer.reset();
  mLineBuffers.fill(nullptr);
  mWorkBuffers.fill(nullptr);
  mFinalBuffer.reset();
  mStandIn.reset();
  mBlankColour.reset();
  mBlankDepth.reset();
  mPlainAverage = false;
}

void FrameComposer::UseBuffers(const ScreenBufferUse& use) {
  mBufferUse = use;
  if (mStandIn) ApplyBufferUse();
}

void FrameComposer::ApplyBufferUse() {
  const ScreenBufferUse use = mConfig.everyPass ? ScreenBufferUse::All() : mBufferUse;
  for (int i = 0; i < POST_EFFECT_BUFFER_COUNT; ++i) {
    Provide(mLineStorage[i], mLineBuffers[i], use.lines[i], SCREEN_BUFFER_COLOR | SCREEN_BUFFER_DEPTH);
    Provide(mWorkStorage[i], mWorkBuffers[i], use.work[i], SCREEN_BUFFER_COLOR);
  }
}

void FrameComposer::Provide(std::unique_ptr<cScreenBuffer>& storage, cScreenBuffer*& buffer, bool used, uint32_t flags) {
  if (!used) {
    storage.reset();
  } else if (!storage) {
    storage = MakeBuffer(flags);
  }
  buffer = storage ? storage.get() : mStandIn.get();
}

cScreenBuffer* FrameComposer::LineStorage(int line) {
  if (!mLineStorage[line]) {
    Log(LogLevel::Debug, "frame", "line buffer %d gets its storage when first drawn into", line);
    Provide(mLineStorage[line], mLineBuffers[line], true, SCREEN_BUFFER_COLOR | SCREEN_BUFFER_DEPTH);
  }
  return mLineBuffers[line];
}

cScreenBuffer* FrameComposer::WorkStorage(int index) {
  if (!mWorkStorage[index]) {
    Log(LogLevel::Debug, "frame", "work buffer %d gets its storage when first drawn into", index);
    Provide(mWorkStorage[index], mWorkBuffers[index], true, SCREEN_BUFFER_COLOR);
  }
  return mWorkBuffers[index];
}

cScreenBuffer* FrameComposer::Temporary() {
  if (!mTemporaryBuffer) mTemporaryBuffer = MakeBuffer(SCREEN_BUFFER_COLOR);
  return mTemporaryBuffer.get();
}

size_t FrameComposer::ScreenBufferBytes() const {
  size_t bytes = 0;
  for (const auto* owned : {&mTemporaryBuffer, &mFinalBuffer, &mStandIn}) {
    if (*owned) bytes += (*owned)->OwnedBytes();
  }
  for (const auto& buffer : mLineStorage) bytes += buffer ? buffer->OwnedBytes() : 0;
  for (const auto& buffer : mWorkStorage) bytes += buffer ? buffer->OwnedBytes() : 0;
  return bytes;
}

void FrameComposer::ComposeFrame(uint32_t t, const SceneLineTable& lines, const DrawSceneFunction& drawScene) {
  mInventory.outputClears = 0;
  BindOutput();
  // Nothing draws into the output before the clear ahead of the final screen.
  if (mConfig.everyPass) {
    ClearColourAndDepth();
    ++mInventory.outputClears;
  }
  ResetMatrices();
  renderSceneLines(t, lines, drawScene);
  renderPostEffects(t);
  BindOutput();
  const FinalScreenPlan plan = PlanFinalScreen();
  if (plan.clearColour) {
    ClearColourAndDepth();
  } else {
    ClearDepth();
  }
  mInventory.outputClears += plan.clearColour;
  DrawFinalScreen(plan);
}

void FrameComposer::ScreenQuad(const ScreenRect& rect, resShader* effect) {
  PushMatrix();
  if (effect) {
    gShaderManager.SetCurrentEffect(effect);
    effect->setStateMatrix(SCREEN_QUAD_MATRIX, STATE_MATRIX_MODELVIEW_PROJECTION | STATE_MATRIX_IDENTITY);
  }
  const float strip[4][5] = {{0.0f, mVScale, rect.x0, rect.y1, 0.0f},
                             {0.0f, 0.0f, rect.x0, rect.y0, 0.0f},
                             {mUScale, mVScale, rect.x1, rect.y1, 0.0f},
                             {mUScale, 0.0f, rect.x1, rect.y0, 0.0f}};
  DrawTexturedStrip(strip);
  PopMatrix();
}

void FrameComposer::RunPass(resShader* effect, int pass, const ScreenRect& rect, bool draw) {
  if (effect) effect->setPassState(pass);
  if (draw) ScreenQuad(rect, effect);
  if (effect) effect->resetPassState(pass);
}

int FrameComposer::renderSceneLines(uint32_t t, const SceneLineTable& lines, const DrawSceneFunction& drawScene) {
  DebugText("Resolution[%4dx%4d] MSAA[%2dx] Aspect[%2d:%2d] nPOT[%3s] Loop[%3s] Ratio[%f:%f]", mConfig.width,
            mConfig.height, mConfig.fsaaLevel, mConfig.aspectWidth, mConfig.aspectHeight,
            gTextureManager.IsNonPowerOfTwo() ? "YES" : "NO", mConfig.loop ? "YES" : "NO", mConfig.width / 1200.0, mConfig.height / 675.0);
  const bool direct = CanAverageDirectly(lines);
  mInventory.scenePasses = 0;
  mInventory.supersamplePasses = 0;
  int rendered = 0;
  for (int line = 0; line < SCENE_LINE_COUNT; ++line) {
    const SceneSlot* slot = lines.ActiveSlot(line, t);
    if (!slot) continue;
    BeginPass(FramePass::SceneLine, line);
    if (direct) {
      RenderLineDirectly(line, *slot, t, drawScene);
    } else {
      RenderLineStepByStep(line, *slot, t, drawScene);
    }
    EndPass();
    ++rendered;
  }
  SetCurrentJitter(0.0, 0.0);
  DebugText("renderedLine:[%4lu]", static_cast<unsigned long>(rendered));
  return rendered;
}

bool FrameComposer::CanAverageDirectly(const SceneLineTable& lines) const {
  if (!mPlainAverage || !lines.EverySceneDraws()) return false;
  // The copy is alpha-tested: a cleared pixel that fails the test keeps the line's old picture,
  // which drawing straight into the line buffer would not.
  DrawState state = CurrentDrawState();
  if (const EffectPass* copy = mMsaaShader->getEffect()->PassSource(MSAA_COPY_PASS)) state = WithPassStates(state, *copy);
  return PassesAlphaTest(state, ClearColourAlpha());
}

void FrameComposer::DrawSample(cScreenBuffer* target, int sample, const SceneSlot& slot, uint32_t t,
                               const DrawSceneFunction& drawScene) {
  SetDepthTest(true);
  target->bind();
  mCurrentSample = sample;
  const JitterPoint& jitter = mJitterTable[static_cast<size_t>(sample) % mJitterTable.size()];
  SetCurrentJitter(jitter.x, jitter.y);
  drawScene(slot.entry, ScenePhase(t, slot.startTime, slot.endTime));
  ++mInventory.scenePasses;
  FlushDrawing();
  BindWindowFramebuffer();
  SetDepthTest(false);
}

void FrameComposer::RunAveragePass(int pass) {
  RunPass(mMsaaShader, pass, FULL_SCREEN_RECT);
  ++mInventory.supersamplePasses;
}

void FrameComposer::RenderLineStepByStep(int line, const SceneSlot& slot, uint32_t t, const DrawSceneFunction& drawScene) {
  cScreenBuffer* lineBuffer = LineStorage(line);
  cScreenBuffer* temporary = Temporary();
  int samples = std::max(mConfig.fsaaLevel, 1);
  for (int k = samples - 1; k >= 0; --k) {
    temporary->attachDepth(TextureName(lineBuffer->GetDepth()));
    DrawSample(temporary, k, slot, t, drawScene);
    temporary->restoreDepth();

    if (mMsaaShader) {
      gShaderManager.SetCurrentEffect(mMsaaShader);
      SetSampler(mMsaaShader, "srcColBuf0", temporary->GetColor());
      SetSampler(mMsaaShader, "srcColBuf1", lineBuffer->GetColor());
    }
    lineBuffer->bind();
    BeginScreenPass();
    RunAveragePass(k == samples - 1 ? MSAA_COPY_PASS : MSAA_ADD_PASS);
    EndScreenPass();
    BindWindowFramebuffer();
  }
  if (mConfig.fsaaLevel != 0 && mMsaaShader) {
    gShaderManager.SetCurrentEffect(mMsaaShader);
    float div = static_cast<float>(mConfig.fsaaLevel);
    mMsaaShader->setParameter("div", &div);
    SetSampler(mMsaaShader, "srcColBuf1", lineBuffer->GetColor());
    lineBuffer->bind();
    BeginScreenPass();
    RunAveragePass(MSAA_DIVIDE_PASS);
    EndScreenPass();
    BindWindowFramebuffer();
  }
}

// The plain average without its copy and, for 2, 4 or 8 samples, without its divide: the first
// sample is drawn into the line buffer itself, and the last add weighs both sides by 1 / N, which
// for a power of two is the same division, exactly, as the divide pass makes.
void FrameComposer::RenderLineDirectly(int line, const SceneSlot& slot, uint32_t t, const DrawSceneFunction& drawScene) {
  cScreenBuffer* lineBuffer = LineStorage(line);
  const int samples = std::max(mConfig.fsaaLevel, 1);
  const bool foldDivide = IsPowerOfTwo(mConfig.fsaaLevel);
  for (int k = samples - 1; k >= 0; --k) {
    if (k == samples - 1) {
      // Attaching the depth texture to the temporary buffer would give it these sampling
      // parameters; later effects may sample it with them.
      lineBuffer->restoreDepth();
      DrawSample(lineBuffer, k, slot, t, drawScene);
      continue;
    }
    cScreenBuffer* temporary = Temporary();
    temporary->attachDepth(TextureName(lineBuffer->GetDepth()));
    DrawSample(temporary, k, slot, t, drawScene);
    temporary->restoreDepth();

    gShaderManager.SetCurrentEffect(mMsaaShader);
    SetSampler(mMsaaShader, "srcColBuf0", temporary->GetColor());
    SetSampler(mMsaaShader, "srcColBuf1", lineBuffer->GetColor());
    lineBuffer->bind();
    BeginScreenPass();
    if (k == 0 && foldDivide) {
      RunLastAddDividing(samples);
    } else {
      RunAveragePass(MSAA_ADD_PASS);
    }
    EndScreenPass();
    BindWindowFramebuffer();
  }
  if (mConfig.fsaaLevel > 1 && !foldDivide) {
    gShaderManager.SetCurrentEffect(mMsaaShader);
    float div = static_cast<float>(mConfig.fsaaLevel);
    mMsaaShader->setParameter("div", &div);
    lineBuffer->bind();
    BeginScreenPass();
    RunAveragePass(MSAA_DIVIDE_PASS);
    EndScreenPass();
    BindWindowFramebuffer();
  }
}

void FrameComposer::RunLastAddDividing(int samples) {
  mMsaaShader->setPassState(MSAA_ADD_PASS);
  {
    const ConstantBlendWeight weight(1.0f / static_cast<float>(samples));
    ScreenQuad(FULL_SCREEN_RECT, mMsaaShader);
    ++mInventory.supersamplePasses;
  }
  // Puts back the blend function that the pass replaced.
  mMsaaShader->resetPassState(MSAA_ADD_PASS);
}

cScreenBuffer* FrameComposer::TargetBuffer(int32_t renderTarget) {
  if (renderTarget == POST_EFFECT_FINAL_TARGET) return mFinalBuffer.get();
  if (renderTarget < 0 || renderTarget >= POST_EFFECT_BUFFER_COUNT) return nullptr;
  return WorkStorage(renderTarget);
}

void FrameComposer::SetBufferSamplers(resShader* effect) {
  for (int i = 0; i < POST_EFFECT_BUFFER_COUNT; ++i) SetIndexedSampler(effect, "srcCBuf", i, mLineBuffers[i]->GetColor());
  for (int i = 0; i < POST_EFFECT_BUFFER_COUNT; ++i) SetIndexedSampler(effect, "srcZBuf", i, mLineBuffers[i]->GetDepth());
  for (int i = 0; i < POST_EFFECT_BUFFER_COUNT; ++i) SetIndexedSampler(effect, "workBuf", i, mWorkBuffers[i]->GetColor());
  float viewport[2] = {static_cast<float>(mConfig.width), static_cast<float>(mConfig.height)};
  effect->setParameter("ViewportSize", viewport);
}

std::vector<FrameComposer::ActivePostEffect> FrameComposer::ActivePostEffects(uint32_t t) {
  std::vector<ActivePostEffect> active;
  for (size_t i = 0; i < gPostEffectManager.entryCount(); ++i) {
    resShader* effect = gPostEffectManager.activeEffect(i, t);
    if (!effect) continue;
    if (cScreenBuffer* target = TargetBuffer(gPostEffectManager.renderTarget(i))) active.push_back({i, effect, target});
  }
  return active;
}

void FrameComposer::SetPostEffectParameters(const ActivePostEffect& active, uint32_t t) {
  resShader* effect = active.effect;
  gShaderManager.SetCurrentEffect(effect);
  SetBufferSamplers(effect);
  float progress = gPostEffectManager.progress(active.entry, t);
  effect->setParameter("TIME_RATE_EFFECT", &progress);
  gCustomTextureManager.bindTextures(effect);
  gPostEffectManager.applyParameters(active.entry, mLineBuffers.data(), mWorkBuffers.data());
  float ratioW = static_cast<float>(mConfig.width) / REFERENCE_WIDTH;
  float ratioH = static_cast<float>(mConfig.height) / REFERENCE_HEIGHT;
  float ratioR = static_cast<float>(mConfig.width) * static_cast<float>(mConfig.height) /
                 (REFERENCE_WIDTH * REFERENCE_HEIGHT);
  effect->setParameter("SCREEN_RATIO_W", &ratioW);
  effect->setParameter("SCREEN_RATIO_H", &ratioH);
  effect->setParameter("SCREEN_RATIO_R", &ratioR);
}

// Sets each entry's parameters as it will have them, only to see what its passes will sample,
// then puts every value back as it was.
std::vector<bool> FrameComposer::FindHiddenEntries(const std::vector<ActivePostEffect>& active, uint32_t t) {
  std::vector<bool> nothingHidden(active.size(), false);
  if (mConfig.everyPass || active.size() < 2) return nothingHidden;
  std::vector<std::pair<cEffect*, cEffect::ParameterValues>> saved;
  for (const ActivePostEffect& entry : active) {
    cEffect* effect = entry.effect->getEffect();
    if (!effect) return nothingHidden;
    bool seen = false;
    for (const auto& [known, values] : saved) seen = seen || known == effect;
    if (!seen) saved.emplace_back(effect, effect->SaveParameterValues());
  }
  resShader* current = gShaderManager.GetCurrentEffect();
  DrawState base = CurrentDrawState();
  base.blend = false;  // screen passes draw unblended unless the pass blends
  std::vector<PostEffectStepUse> steps;
  bool known = true;
  for (const ActivePostEffect& entry : active) {
    SetPostEffectParameters(entry, t);
    const cEffect* effect = entry.effect->getEffect();
    PostEffectStepUse step;
    step.target = TextureName(entry.target->GetColor());
    for (int pass = gPostEffectManager.FirstPass(entry.entry); pass < gPostEffectManager.PassEnd(entry.entry); ++pass) {
      const EffectPass* source = effect->PassSource(pass);
      // A pass the effect lacks draws with whatever GL has bound: nothing can be said about it.
      known = known && source;
      if (!source) break;
      PostEffectPassUse use;
      effect->AppendSampledTextures(pass, use.samples);
      use.replacesTarget = ReplacesEveryPixel(WithPassStates(base, *source), effect->GetPassOutput(pass), false);
      step.passes.push_back(std::move(use));
    }
    steps.push_back(std::move(step));
  }
  for (const auto& [effect, values] : saved) effect->RestoreParameterValues(values);
  gShaderManager.SetCurrentEffect(current);
  return known ? FindHiddenPostEffects(steps) : nothingHidden;
}

int FrameComposer::renderPostEffects(uint32_t t) {
  const std::vector<ActivePostEffect> active = ActivePostEffects(t);
  const std::vector<bool> hidden = FindHiddenEntries(active, t);
  mInventory.postEffectPasses = 0;
  for (size_t n = 0; n < active.size(); ++n) {
    const ActivePostEffect& entry = active[n];
    BeginPass(FramePass::PostEffect, static_cast<int>(entry.entry));
    SetPostEffectParameters(entry, t);
    entry.target->bind();
    BeginScreenPass();
    for (int pass = gPostEffectManager.FirstPass(entry.entry); pass < gPostEffectManager.PassEnd(entry.entry); ++pass) {
      RunPass(entry.effect, pass, FULL_SCREEN_RECT, !hidden[n]);
      mInventory.postEffectPasses += !hidden[n];
    }
    EndScreenPass();
    BindWindowFramebuffer();
    EndPass();
  }
  const int run = static_cast<int>(active.size());
  if (run == 0 && mNullPostEffect) {
    BeginPass(FramePass::PassThrough, 0);
    gShaderManager.SetCurrentEffect(mNullPostEffect);
    SetBufferSamplers(mNullPostEffect);
    mFinalBuffer->bind();
    BeginScreenPass();
    for (int pass = 0; pass < mNullPostEffect->passCount(); ++pass) {
      RunPass(mNullPostEffect, pass, FULL_SCREEN_RECT);
      ++mInventory.postEffectPasses;
    }
    EndScreenPass();
    BindWindowFramebuffer();
    EndPass();
  }
  DebugText("PostEffect:[%3lu]\n", static_cast<unsigned long>(run));
  return run;
}

void FrameComposer::BindOutput() { BindFramebuffer(mOutputFramebuffer); }

bool FrameComposer::FinalPassReplacesOutput(int pass) const {
  const cEffect* effect = mFinalScreenShader ? mFinalScreenShader->getEffect() : nullptr;
  const EffectPass* source = effect ? effect->PassSource(pass) : nullptr;
  if (!source) return false;
  DrawState state = CurrentDrawState();
  state.blend = false;
  return ReplacesEveryPixel(WithPassStates(state, *source), effect->GetPassOutput(pass), true);
}

// The border is hidden when the picture fills the window; the colour clear when either does.
FrameComposer::FinalScreenPlan FrameComposer::PlanFinalScreen() const {
  FinalScreenPlan plan;
  if (mConfig.everyPass) return plan;
  const bool pictureFills = SameRect(LetterboxRect(mConfig.aspectWidth, mConfig.aspectHeight), FULL_SCREEN_RECT) &&
                            FinalPassReplacesOutput(FINAL_PICTURE_PASS);
  plan.drawBorder = !pictureFills;
  plan.clearColour = !pictureFills && !FinalPassReplacesOutput(FINAL_BORDER_PASS);
  return plan;
}

void FrameComposer::composeFinalScreen() { DrawFinalScreen(PlanFinalScreen()); }

void FrameComposer::DrawFinalScreen(const FinalScreenPlan& plan) {
  BeginPass(FramePass::FinalScreen, 0);
  BindOutput();
  BeginScreenPass();
  if (mFinalScreenShader) {
    gShaderManager.SetCurrentEffect(mFinalScreenShader);
    SetSampler(mFinalScreenShader, "shScreenTexture", mFinalBuffer->GetColor());
  }
  RunPass(mFinalScreenShader, FINAL_BORDER_PASS, FULL_SCREEN_RECT, plan.drawBorder);
  RunPass(mFinalScreenShader, FINAL_PICTURE_PASS, LetterboxRect(mConfig.aspectWidth, mConfig.aspectHeight));
  mInventory.finalPasses = plan.drawBorder ? 2 : 1;
  EndFinalScreenPass();
  EndPass();
}
