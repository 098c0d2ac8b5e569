#include "bench/showcase/frame_profile.h"

#include <chrono>

#include <GL/glew.h>

#include "bench/frame/copy_pass.h"
#include "bench/showcase/draw_call_counter.h"

namespace {

FrameCost KindOf(FramePass pass) {
  switch (pass) {
    case FramePass::SceneLine: return FrameCost::Scene;
    case FramePass::PostEffect:
    case FramePass::PassThrough: return FrameCost::PostEffect;
    case FramePass::FinalScreen: return FrameCost::FinalScreen;
  }
  return FrameCost::Other;
}

constexpr GLenum SHADING_STATISTICS[2] = {GL_VERTICES_SUBMITTED_ARB, GL_FRAGMENT_SHADER_INVOCATIONS_ARB};

}  // namespace

CostTimes& CostTimes::operator+=(const CostTimes& other) {
  wallMs += other.wallMs;
  cpuMs += other.cpuMs;
  gpuMs += other.gpuMs;
  draws += other.draws;
  vertices += other.vertices;
  fragments += other.fragments;
  return *this;
}

FrameCosts& FrameCosts::operator+=(const FrameCosts& other) {
  for (size_t k = 0; k < kinds.size(); ++k) kinds[k] += other.kinds[k];
  for (const auto& [line, costs] : other.lines) lines[line] += costs;
  for (const auto& [entry, costs] : other.postEffects) postEffects[entry] += costs;
  return *this;
}

FrameProfiler::~FrameProfiler() {
  if (mShadingQueries[0]) glDeleteQueries(2, mShadingQueries);
}

bool FrameProfiler::CountsShading() { return GLEW_ARB_pipeline_statistics_query; }

FrameProfiler::Mark FrameProfiler::Now() {
  const std::chrono::duration<double, std::milli> wall = std::chrono::steady_clock::now().time_since_epoch();
  return {wall.count(), ProcessCpuMilliseconds()};
}

FrameProfiler::Mark FrameProfiler::Charge(FrameCost kind, const Mark& since) {
  const Mark now = Now();
  const Mark spent{now.wallMs - since.wallMs, now.cpuMs - since.cpuMs};
  mCosts[kind].wallMs += spent.wallMs;
  mCosts[kind].cpuMs += spent.cpuMs;
  return spent;
}

void FrameProfiler::BeginCounting() {
  mDrawsAtStart = DrawCallsIssued();
  if (!CountsShading()) return;
  if (!mShadingQueries[0]) glGenQueries(2, mShadingQueries);
  for (int i = 0; i < 2; ++i) glBeginQuery(SHADING_STATISTICS[i], mShadingQueries[i]);
}

CostTimes* FrameProfiler::OwnCosts() {
  if (mPassKind == FrameCost::Scene) return &mCosts.lines[mPassIndex];
  if (mPassKind == FrameCost::PostEffect && mPassIndex >= 0) return &mCosts.postEffects[mPassIndex];
  return nullptr;
}

void FrameProfiler::EndCounting() {
  CostTimes counted;
  counted.draws = static_cast<double>(DrawCallsIssued() - mDrawsAtStart);
  if (CountsShading()) {
    GLuint64 results[2] = {0, 0};
    for (int i = 0; i < 2; ++i) glEndQuery(SHADING_STATISTICS[i]);
    for (int i = 0; i < 2; ++i) glGetQueryObjectui64v(mShadingQueries[i], GL_QUERY_RESULT, &results[i]);
    counted.vertices = static_cast<double>(results[0]);
    counted.fragments = static_cast<double>(results[1]);
  }
  mCosts[mPassKind] += counted;
  if (CostTimes* own = OwnCosts()) *own += counted;
}

void FrameProfiler::PassBegin(FramePass pass, int index) {
  glFinish();
  mPassKind = KindOf(pass);
  mPassIndex = pass == FramePass::PassThrough ? -1 : index;
  BeginCounting();
  mPassStart = Now();
  mGpu.PassBegin(pass, index);
}

void FrameProfiler::PassEnd() {
  mGpu.PassEnd();
  glFinish();
  const Mark spent = Charge(mPassKind, mPassStart);
  EndCounting();
  if (CostTimes* own = OwnCosts()) {
    own->wallMs += spent.wallMs;
    own->cpuMs += spent.cpuMs;
  }
  // The composition's own time is what its passes leave over.
  mCosts[FrameCost::Other].wallMs -= spent.wallMs;
  mCosts[FrameCost::Other].cpuMs -= spent.cpuMs;
}

void FrameProfiler::BeginCompose() {
  mCosts = {};
  glFinish();
  mComposeStart = Now();
}

void FrameProfiler::EndCompose() {
  glFinish();
  Charge(FrameCost::Other, mComposeStart);
  if (!GpuPassTimer::Available()) return;
  mGpu.Collect();
  for (const PassTime& pass : mGpu.LastFrame()) {
    mCosts[KindOf(pass.pass)].gpuMs += pass.ms;
    if (pass.pass == FramePass::SceneLine) mCosts.lines[pass.index].gpuMs += pass.ms;
    if (pass.pass == FramePass::PostEffect) mCosts.postEffects[pass.index].gpuMs += pass.ms;
  }
}

void FrameProfiler::BeginReadBack() { mReadBackStart = Now(); }

void FrameProfiler::EndReadBack() { Charge(FrameCost::ReadBack, mReadBackStart); }
