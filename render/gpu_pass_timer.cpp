#include "render/gpu_pass_timer.h"

#include <string>

GpuPassTimer::~GpuPassTimer() {
  if (!mQueries.empty()) glDeleteQueries(static_cast<GLsizei>(mQueries.size()), mQueries.data());
}

bool GpuPassTimer::Available() { return GLEW_ARB_timer_query && glGetQueryObjectui64v; }

void GpuPassTimer::PassBegin(FramePass pass, int index) {
  if (!Available()) return;
  if (mPasses.size() == mQueries.size()) {
    GLuint query = 0;
    glGenQueries(1, &query);
    mQueries.push_back(query);
  }
  glBeginQuery(GL_TIME_ELAPSED, mQueries[mPasses.size()]);
  mPasses.push_back({pass, index, 0.0});
}

void GpuPassTimer::PassEnd() {
  if (Available() && !mPasses.empty()) glEndQuery(GL_TIME_ELAPSED);
}

void GpuPassTimer::Collect() {
  for (size_t i = 0; i < mPasses.size(); ++i) {
    GLuint64 nanoseconds = 0;
    glGetQueryObjectui64v(mQueries[i], GL_QUERY_RESULT, &nanoseconds);
    mPasses[i].ms = static_cast<double>(nanoseconds) / 1.0e6;
  }
  mLastFrame.swap(mPasses);
  mPasses.clear();
}

std::string PassLabel(const PassTime& time) {
  switch (time.pass) {
    case FramePass::SceneLine: return "line " + std::to_string(time.index);
    case FramePass::PostEffect: return "post-effect " + std::to_string(time.index);
    case FramePass::PassThrough: return "pass-through";
    case FramePass::FinalScreen: return "final screen";
  }
  return "";
}
