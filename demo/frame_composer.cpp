#include "demo/frame_composer.h"

#include <algorithm>
#include <cstdio>

#include <GL/glew.h>

#include "core/debug_output.h"
#include "render/effect/effect.h"
#include "render/screen_buffer.h"
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

GLuint TextureName(const cTexture* texture) { return texture ? gTextureManager.lookupName(texture) : 0; }

void SetSampler(resShader* effect, const char* name, const cTexture* texture) {
  GLuint glName = TextureName(texture);
  effect->setParameter(name, &glName);
}

// "prefix" followed by one decimal digit.
void SetIndexedSampler(resShader* effect, const char* prefix, int index, const cTexture* texture) {
  char name[32];
  std::snprintf(name, sizeof name, "%s%c", prefix, static_cast<char>('0' + index));
  SetSampler(effect, name, texture);
}

void BindWindow() {
  if (glBindFramebufferEXT) glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
}

void BindFramebuffer(GLuint framebuffer) {
  if (glBindFramebufferEXT) glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, framebuffer);
}

void BeginScreenPass() {
  glDisable(GL_BLEND);
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  glOrtho(0.0, 1.0, 0.0, 1.0, -10.0, 10.0);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
}

void EndScreenPass() {
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  glPopMatrix();
  glEnable(GL_BLEND);
  glFlush();
}

}  // namespace

FrameComposer::FrameComposer() = default;

FrameComposer::~FrameComposer() { Destroy(); }

void FrameComposer::Create(const FrameConfig& config) {
  Destroy();
  mConfig = config;
  GLenum internalFormat = config.lowQuality ? GL_RGBA8 : GL_RGBA16F_ARB;
  GLenum type = config.lowQuality ? GL_UNSIGNED_BYTE : GL_FLOAT;
  auto make = [&](uint32_t flags) { return new cScreenBuffer(config.width, config.height, internalFormat, type, flags); };
  mTemporaryBuffer = make(SCREEN_BUFFER_COLOR | SCREEN_BUFFER_DEPTH);
  for (auto& buffer : mLineBuffers) buffer = make(SCREEN_BUFFER_COLOR | SCREEN_BUFFER_DEPTH);
  for (auto& buffer : mWorkBuffers) buffer = make(SCREEN_BUFFER_COLOR);
  mFinalBuffer = make(SCREEN_BUFFER_COLOR);

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
}

void FrameComposer::Destroy() {
  ReleaseEffect(mMsaaShader);
  ReleaseEffect(mNullPostEffect);
  ReleaseEffect(mFinalScreenShader);
  delete mTemporaryBuffer;
  mTemporaryBuffer = nullptr;
  for (auto& buffer : mLineBuffers) {
    delete buffer;
    buffer = nullptr;
  }
  for (auto& buffer : mWorkBuffers) {
    delete buffer;
    buffer = nullptr;
  }
  delete mFinalBuffer;
  mFinalBuffer = nullptr;
}

void FrameComposer::ComposeFrame(uint32_t t, const SceneLineTable& lines, const DrawSceneFunction& drawScene) {
  BindOutput();
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  renderSceneLines(t, lines, drawScene);
  renderPostEffects(t);
  BindOutput();
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  composeFinalScreen();
}

void FrameComposer::ScreenQuad(const ScreenRect& rect, resShader* effect) {
  glPushMatrix();
  if (effect) {
    gShaderManager.SetCurrentEffect(effect);
    effect->setStateMatrix("projMat", STATE_MATRIX_MODELVIEW_PROJECTION | STATE_MATRIX_IDENTITY);
  }
  const float strip[4][5] = {{0.0f, mVScale, rect.x0, rect.y1, 0.0f},
                             {0.0f, 0.0f, rect.x0, rect.y0, 0.0f},
                             {mUScale, mVScale, rect.x1, rect.y1, 0.0f},
                             {mUScale, 0.0f, rect.x1, rect.y0, 0.0f}};
  glInterleavedArrays(GL_T2F_V3F, 0, strip);
  glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
  glDisableClientState(GL_TEXTURE_COORD_ARRAY);
  glDisableClientState(GL_VERTEX_ARRAY);
  glPopMatrix();
}

void FrameComposer::RunPass(resShader* effect, int pass, const ScreenRect& rect) {
  if (effect) effect->setPassState(pass);
  ScreenQuad(rect, effect);
  if (effect) effect->resetPassState(pass);
}

int FrameComposer::renderSceneLines(uint32_t t, const SceneLineTable& lines, const DrawSceneFunction& drawScene) {
  DebugText("Resolution[%4dx%4d] MSAA[%2dx] Aspect[%2d:%2d] nPOT[%3s] Loop[%3s] Ratio[%f:%f]", mConfig.width,
            mConfig.height, mConfig.fsaaLevel, mConfig.aspectWidth, mConfig.aspectHeight,
            gTextureManager.IsNonPowerOfTwo() ? "YES" : "NO", mConfig.loop ? "YES" : "NO", mConfig.width / 1200.0, mConfig.height / 675.0);
  int rendered = 0;
  for (int line = 0; line < SCENE_LINE_COUNT; ++line) {
    const SceneSlot* slot = lines.ActiveSlot(line, t);
    if (!slot) continue;
    BeginPass(FramePass::SceneLine, line);
    RenderLine(line, *slot, t, drawScene);
    EndPass();
    ++rendered;
  }
  SetCurrentJitter(0.0, 0.0);
  DebugText("renderedLine:[%4lu]", static_cast<unsigned long>(rendered));
  return rendered;
}

void FrameComposer::RenderLine(int line, const SceneSlot& slot, uint32_t t, const DrawSceneFunction& drawScene) {
  cScreenBuffer* lineBuffer = mLineBuffers[line];
  int samples = std::max(mConfig.fsaaLevel, 1);
  for (int k = samples - 1; k >= 0; --k) {
    mTemporaryBuffer->attachDepth(TextureName(lineBuffer->GetDepth()));
    glEnable(GL_DEPTH_TEST);
    mTemporaryBuffer->bind();
    mCurrentSample = k;
    const JitterPoint& jitter = mJitterTable[static_cast<size_t>(k) % mJitterTable.size()];
    SetCurrentJitter(jitter.x, jitter.y);
    drawScene(slot.entry, ScenePhase(t, slot.startTime, slot.endTime));
    glFlush();
    BindWindow();
    glDisable(GL_DEPTH_TEST);
    mTemporaryBuffer->restoreDepth();

    if (mMsaaShader) {
      gShaderManager.SetCurrentEffect(mMsaaShader);
      SetSampler(mMsaaShader, "srcColBuf0", mTemporaryBuffer->GetColor());
      SetSampler(mMsaaShader, "srcColBuf1", lineBuffer->GetColor());
    }
    lineBuffer->bind();
    BeginScreenPass();
    RunPass(mMsaaShader, k == samples - 1 ? MSAA_COPY_PASS : MSAA_ADD_PASS, FULL_SCREEN_RECT);
    EndScreenPass();
    BindWindow();
  }
  if (mConfig.fsaaLevel != 0 && mMsaaShader) {
    gShaderManager.SetCurrentEffect(mMsaaShader);
    float div = static_cast<float>(mConfig.fsaaLevel);
    mMsaaShader->setParameter("div", &div);
    SetSampler(mMsaaShader, "srcColBuf1", lineBuffer->GetColor());
    lineBuffer->bind();
    BeginScreenPass();
    RunPass(mMsaaShader, MSAA_DIVIDE_PASS, FULL_SCREEN_RECT);
    EndScreenPass();
    BindWindow();
  }
}

cScreenBuffer* FrameComposer::TargetBuffer(int32_t renderTarget) const {
  if (renderTarget == POST_EFFECT_FINAL_TARGET) return mFinalBuffer;
  if (renderTarget < 0 || renderTarget >= POST_EFFECT_BUFFER_COUNT) return nullptr;
  return mWorkBuffers[renderTarget];
}

void FrameComposer::SetBufferSamplers(resShader* effect) {
  for (int i = 0; i < POST_EFFECT_BUFFER_COUNT; ++i) SetIndexedSampler(effect, "srcCBuf", i, mLineBuffers[i]->GetColor());
  for (int i = 0; i < POST_EFFECT_BUFFER_COUNT; ++i) SetIndexedSampler(effect, "srcZBuf", i, mLineBuffers[i]->GetDepth());
  for (int i = 0; i < POST_EFFECT_BUFFER_COUNT; ++i) SetIndexedSampler(effect, "workBuf", i, mWorkBuffers[i]->GetColor());
  float viewport[2] = {static_cast<float>(mConfig.width), static_cast<float>(mConfig.height)};
  effect->setParameter("ViewportSize", viewport);
}

int FrameComposer::renderPostEffects(uint32_t t) {
  int run = 0;
  for (size_t i = 0; i < gPostEffectManager.entryCount(); ++i) {
    resShader* effect = gPostEffectManager.activeEffect(i, t);
    cScreenBuffer* target = TargetBuffer(gPostEffectManager.renderTarget(i));
    if (!effect || !target) continue;
    ++run;
    BeginPass(FramePass::PostEffect, static_cast<int>(i));
    gShaderManager.SetCurrentEffect(effect);
    SetBufferSamplers(effect);
    float progress = gPostEffectManager.progress(i, t);
    effect->setParameter("TIME_RATE_EFFECT", &progress);
    gCustomTextureManager.bindTextures(effect);
    gPostEffectManager.applyParameters(i, mLineBuffers.data(), mWorkBuffers.data());
    float ratioW = static_cast<float>(mConfig.width) / REFERENCE_WIDTH;
    float ratioH = static_cast<float>(mConfig.height) / REFERENCE_HEIGHT;
    float ratioR = static_cast<float>(mConfig.width) * static_cast<float>(mConfig.height) /
                   (REFERENCE_WIDTH * REFERENCE_HEIGHT);
    effect->setParameter("SCREEN_RATIO_W", &ratioW);
    effect->setParameter("SCREEN_RATIO_H", &ratioH);
    effect->setParameter("SCREEN_RATIO_R", &ratioR);

    target->bind();
    BeginScreenPass();
    for (int pass = gPostEffectManager.FirstPass(i); pass < gPostEffectManager.PassEnd(i); ++pass) {
      RunPass(effect, pass, FULL_SCREEN_RECT);
    }
    EndScreenPass();
    BindWindow();
    EndPass();
  }
  if (run == 0 && mNullPostEffect) {
    BeginPass(FramePass::PassThrough, 0);
    gShaderManager.SetCurrentEffect(mNullPostEffect);
    SetBufferSamplers(mNullPostEffect);
    mFinalBuffer->bind();
    BeginScreenPass();
    for (int pass = 0; pass < mNullPostEffect->passCount(); ++pass) RunPass(mNullPostEffect, pass, FULL_SCREEN_RECT);
    EndScreenPass();
    BindWindow();
    EndPass();
  }
  DebugText("PostEffect:[%3lu]\n", static_cast<unsigned long>(run));
  return run;
}

void FrameComposer::BindOutput() { BindFramebuffer(mOutputFramebuffer); }

void FrameComposer::composeFinalScreen() {
  BeginPass(FramePass::FinalScreen, 0);
  BindOutput();
  BeginScreenPass();
  if (mFinalScreenShader) {
    gShaderManager.SetCurrentEffect(mFinalScreenShader);
    SetSampler(mFinalScreenShader, "shScreenTexture", mFinalBuffer->GetColor());
  }
  RunPass(mFinalScreenShader, FINAL_BORDER_PASS, FULL_SCREEN_RECT);
  RunPass(mFinalScreenShader, FINAL_PICTURE_PASS, LetterboxRect(mConfig.aspectWidth, mConfig.aspectHeight));
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  glPopMatrix();
  glEnable(GL_BLEND);
  EndPass();
}
