#include "sound/thread_message_queue.h"

void ThreadMessageQueue::Post(const ThreadMessage& message) {
  std::lock_guard<std::mutex> guard(mLock);
  mMessages.push_back(message);
}

bool ThreadMessageQueue::Take(ThreadMessage& out) {
  std::lock_guard<std::mutex> guard(mLock);
  if (mMessages.empty()) return false;
  out = mMessages.front();
  mMessages.pop_front();
  return true;
}

void ThreadMessageQueue::Clear() {
  std::lock_guard<std::mutex> guard(mLock);
  mMessages.clear();
}
