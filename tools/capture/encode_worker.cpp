#include "tools/capture/encode_worker.h"

EncodeWorker::EncodeWorker(FrameSink& sink, size_t capacity) : mSink(sink), mCapacity(capacity ? capacity : 1) {
  mThread = std::thread([this] { Run(); });
}

EncodeWorker::~EncodeWorker() { Abandon(); }

void EncodeWorker::Run() {
  for (;;) {
    CapturedFrame frame;
    {
      std::unique_lock<std::mutex> lock(mLock);
      mChanged.wait(lock, [this] { return !mQueue.empty() || mClosing; });
      if (mQueue.empty() || mFailed) return;
      frame = std::move(mQueue.front());
      mQueue.pop_front();
    }
    mChanged.notify_all();
    std::string error;
    bool stored = mSink.Write(frame, error);
    std::lock_guard<std::mutex> lock(mLock);
    if (!stored) {
      mFailed = true;
      mError = error;
      mQueue.clear();
      mChanged.notify_all();
      return;
    }
    ++mStored;
    if (mSpare.size() < mCapacity) mSpare.push_back(std::move(frame.pixels));
  }
}

bool EncodeWorker::Push(CapturedFrame frame) {
  {
    std::unique_lock<std::mutex> lock(mLock);
    mChanged.wait(lock, [this] { return mQueue.size() < mCapacity || mFailed; });
    if (mFailed) return false;
    mQueue.push_back(std::move(frame));
  }
  mChanged.notify_all();
  return true;
}

std::vector<uint8_t> EncodeWorker::SpareBuffer() {
  std::lock_guard<std::mutex> lock(mLock);
  if (mSpare.empty()) return {};
  std::vector<uint8_t> buffer = std::move(mSpare.back());
  mSpare.pop_back();
  return buffer;
}

void EncodeWorker::Stop() {
  {
    std::lock_guard<std::mutex> lock(mLock);
    mClosing = true;
  }
  mChanged.notify_all();
  if (mThread.joinable()) mThread.join();
}

bool EncodeWorker::Finish(std::string& error) {
  Stop();
  if (mFailed) {
    error = mError;
    return false;
  }
  return mSink.Finish(error);
}

void EncodeWorker::Abandon() {
  {
    std::lock_guard<std::mutex> lock(mLock);
    mQueue.clear();
  }
  Stop();
}
