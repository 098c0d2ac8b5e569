#include "sound/auto_reset_event.h"

void AutoResetEvent::Set() {
  {
    std::lock_guard<std::mutex> guard(mLock);
    mSignalled = true;
  }
  mSignal.notify_one();
}

void AutoResetEvent::Reset() {
  std::lock_guard<std::mutex> guard(mLock);
  mSignalled = false;
}

void AutoResetEvent::Wait() {
  std::unique_lock<std::mutex> guard(mLock);
  mSignal.wait(guard, [this] { return mSignalled; });
  mSignalled = false;
}
