#include "dev/music_waveform.h"

#include <algorithm>

#include "core/log.h"
#include "sound/music_probe.h"
#include "sound/pcm_block.h"

namespace {

// Big enough that locking once a block costs nothing, small enough that the picture fills in.
constexpr uint32_t DECODE_BLOCK_BYTES = 256 * 1024;

}  // namespace

MusicWaveform::~MusicWaveform() { Stop(); }

void MusicWaveform::Start(const std::string& path) {
  Stop();
  mStopping = false;
  mDecoding = true;
  mWorker = std::thread(&MusicWaveform::Decode, this, path);
}

void MusicWaveform::Stop() {
  mStopping = true;
  if (mWorker.joinable()) mWorker.join();
  std::lock_guard<std::mutex> guard(mLock);
  mSummary = WaveformSummary();
  mSampleRate = 0;
  mDecoding = false;
}

void MusicWaveform::Decode(std::string path) {
  std::unique_ptr<CSoundLoader> decoder = ChooseMusicDecoder(path.c_str());
  WaveFormat format;
  bool readable = decoder && decoder->Open(path.c_str()) == SOUND_OK && decoder->GetFormat(format) == SOUND_OK;
  {
    std::lock_guard<std::mutex> guard(mLock);
    readable = readable && mSummary.Start(format);
  }
  if (!readable) {
    Log(LogLevel::Warning, "dev", "%s: no waveform for the tracks panel (the music does not decode to 8- or 16-bit PCM)",
        path.c_str());
    mDecoding = false;
    return;
  }
  mSampleRate = format.samplesPerSecond;
  const uint64_t total = decoder->GetSize();
  PcmBlock block;
  for (uint64_t done = 0; done < total && !mStopping;) {
    const int status = decoder->Read(block, SOUND_CURRENT_POSITION, DECODE_BLOCK_BYTES, false);
    if (status == SOUND_ALREADY_ENDED) break;
    if (status != SOUND_OK && status != SOUND_END_IN_BLOCK) {
      Log(LogLevel::Warning, "dev", "%s: the waveform stops where the music could not be decoded", path.c_str());
      break;
    }
    const size_t bytes = static_cast<size_t>(std::min<uint64_t>(DECODE_BLOCK_BYTES, total - done));
    std::lock_guard<std::mutex> guard(mLock);
    mSummary.Add(block.Data(), bytes);
    done += bytes;
  }
  mDecoding = false;
}

std::vector<WaveformPeak> MusicWaveform::PeaksOf(const std::vector<FrameSpan>& spans) const {
  std::vector<WaveformPeak> peaks;
  peaks.reserve(spans.size());
  std::lock_guard<std::mutex> guard(mLock);
  const float scale = mSummary.Loudest() > 0.0f ? 1.0f / mSummary.Loudest() : 1.0f;
  for (const FrameSpan& span : spans) {
    const WaveformPeak peak = mSummary.PeakOf(span.first, span.end);
    peaks.push_back({peak.low * scale, peak.high * scale});
  }
  return peaks;
}
