#pragma once
// An event that releases one waiter and then resets itself; initially not signalled.

#include <condition_variable>
#include <mutex>

class AutoResetEvent {
 public:
  void Set();
  void Reset();
  // Blocks until the event is signalled, and consumes the signal.
  void Wait();

 private:
  std::mutex mLock;
  std::condition_variable mSignal;
  bool mSignalled = false;
};
