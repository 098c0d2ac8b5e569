#pragma once
// The thread that stores captured frames (encodes and muxes them, or writes pictures) while the
// GL thread composes the next ones. A bounded queue between the two: when storing is slower than
// composing, Push waits instead of piling frames up in memory.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "tools/capture/frame_sink.h"

class EncodeWorker {
 public:
  EncodeWorker(FrameSink& sink, size_t capacity);
  // Abandons whatever is still queued.
  ~EncodeWorker();
  EncodeWorker(const EncodeWorker&) = delete;
  EncodeWorker& operator=(const EncodeWorker&) = delete;

  // Queues a frame, waiting while the queue is full. False once the sink has failed.
  bool Push(CapturedFrame frame);
  // The pixel buffer of a frame already stored, for the next read-back to fill (or an empty one).
  std::vector<uint8_t> SpareBuffer();
  // Waits until every queued frame is stored, then finishes the sink. False with error set when
  // the sink failed at any point.
  bool Finish(std::string& error);
  // Stops as soon as the frame being stored is done, dropping the queue.
  void Abandon();

  int64_t FramesStored() const { return mStored.load(); }

 private:
  void Run();
  void Stop();

  FrameSink& mSink;
  size_t mCapacity;
  std::mutex mLock;
  std::condition_variable mChanged;
  std::deque<CapturedFrame> mQueue;
  std::vector<std::vector<uint8_t>> mSpare;
  bool mClosing = false;
  bool mFailed = false;
  std::string mError;
  std::atomic<int64_t> mStored{0};
  std::thread mThread;
};
