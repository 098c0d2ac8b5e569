#include "bench/showcase/frame_profile.h"

#include <chrono>

#include <GL/glew.h>

#include "bench/frame/copy_pass.h"

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

}  // namespace

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

void FrameProfiler::PassBegin(FramePass pass, int index) {
  glFinish();
  mPassKind = KindOf(pass);
  mPassStart = Now();
  mGpu.PassBegin(pass, index);
}

void FrameProfiler::PassEnd() {
  mGpu.PassEnd();
  glFinish();
  const Mark spent = Charge(mPassKind, mPassStart);
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
  for (const PassTime& pass : mGpu.LastFrame()) mCosts[KindOf(pass.pass)].gpuMs += pass.ms;
}

void FrameProfiler::BeginReadBack() { mReadBackStart = Now(); }

void FrameProfiler::EndReadBack() { Charge(FrameCost::ReadBack, mReadBackStart); }
