#pragma once
// The music's waveform for the tracks panel, decoded once on a thread of its own when the
// developer mode opens the music, so that no frame waits for it: a frame asks for the peaks of
// the spans it shows and gets what has been decoded so far (a long piece fills in from its start).

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "dev/tracker_view.h"
#include "sound/waveform_summary.h"

class MusicWaveform {
 public:
  MusicWaveform() = default;
  ~MusicWaveform();
  MusicWaveform(const MusicWaveform&) = delete;
  MusicWaveform& operator=(const MusicWaveform&) = delete;

  // Starts decoding the music file at path (a decoding already running is stopped first).
  void Start(const std::string& path);
  // Stops the decoding and forgets the waveform.
  void Stop();

  // Frames a second of the music, 0 before its format is known or when it cannot be drawn.
  uint32_t SampleRate() const { return mSampleRate.load(); }
  bool IsDecoding() const { return mDecoding.load(); }
  // The peak of each span, as far as decoded, scaled to the loudest sample decoded so far, so
  // that quiet music shows as well as loud.
  std::vector<WaveformPeak> PeaksOf(const std::vector<FrameSpan>& spans) const;

 private:
  void Decode(std::string path);

  mutable std::mutex mLock;
  WaveformSummary mSummary;  // under mLock
  std::thread mWorker;
  std::atomic<bool> mStopping{false};
  std::atomic<bool> mDecoding{false};
  std::atomic<uint32_t> mSampleRate{0};
};
