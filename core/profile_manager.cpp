#include "core/profile_manager.h"

#include "platform/timer.h"

CORE_IMPLEMENT_MANAGER(profileManager)

profileManager::profileManager() : mFrameStart(static_cast<int64_t>(platform::QueryCounter())) {}

bool profileManager::FrameBegin() {
  mFrameStart = static_cast<int64_t>(platform::QueryCounter());
  return true;
}

bool profileManager::FrameEnd() {
  long double elapsed = static_cast<long double>(static_cast<int64_t>(platform::QueryCounter()) - mFrameStart);
  mFrameTime = static_cast<float>(elapsed * 1000.0L / static_cast<long double>(platform::CounterFrequency()));
  return true;
}
