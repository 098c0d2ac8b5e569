#pragma once
// A thread's message queue: other threads post, the owner takes without blocking.

#include <cstdint>
#include <deque>
#include <mutex>

inline constexpr uint32_t THREAD_MESSAGE_QUIT = 0x0012;
inline constexpr uint32_t THREAD_MESSAGE_USER = 0x0400;

struct ThreadMessage {
  uint32_t id = 0;
  uint64_t param = 0;
};

class ThreadMessageQueue {
 public:
  void Post(const ThreadMessage& message);
  // Takes the oldest message; false when none is waiting.
  bool Take(ThreadMessage& out);
  void Clear();

 private:
  std::mutex mLock;
  std::deque<ThreadMessage> mMessages;
};
