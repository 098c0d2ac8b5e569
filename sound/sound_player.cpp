#include "sound/sound_player.h"

#include <atomic>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "core/log.h"
#include "platform/audio_output.h"
#include "sound/music_probe.h"

namespace {

// Players alive in the process: the last one to close closes the audio output.
std::atomic<int> gLivePlayers = 0;

Alert SoundAlert(const char* caption, const char* format, const char* value, AlertIcon icon) {
  std::vector<char> text(std::snprintf(nullptr, 0, format, value) + 1);
  std::snprintf(text.data(), text.size(), format, value);
  return {caption, text.data(), icon};
}

// Without a word the start would just fail; the music's author needs to know why.
void ReportUnplayable(const char* name, const WaveFormat& format) {
  Log(LogLevel::Error, "sound",
      "Sound::%s: %u-bit sound (format tag %u) with %u channel(s) at %u Hz cannot be played; "
      "use 8- or 16-bit PCM, mono or stereo",
      name, format.bitsPerSample, format.formatTag, format.channels, format.samplesPerSecond);
}

}  // namespace

SoundPlayer::SoundPlayer() { ++gLivePlayers; }

SoundPlayer::~SoundPlayer() { Close(); }

int SoundPlayer::InitDirectSound() {
  mFailure.reset();
  if (platform::AudioOutputIsOpen()) return PLAYER_OUTPUT_ERROR;
  std::string error;
  if (!platform::OpenAudioOutput(error)) {
    mFailure = SoundAlert("Sound", SOUND_TEXT_NO_OUTPUT, error.c_str(), AlertIcon::Error);
    return PLAYER_OUTPUT_FAILED;
  }
  return PLAYER_OK;
}

int SoundPlayer::OpenMusic(const char* name) {
  mFailure.reset();
  std::unique_ptr<CSoundLoader> decoder = ChooseMusicDecoder(name);
  if (!decoder) {
    mFailure = SoundAlert("", SOUND_TEXT_NO_DECODER, name, AlertIcon::Warning);
    return PLAYER_NO_DECODER;
  }
  if (decoder->Open(name) != SOUND_OK) {
    mFailure = SoundAlert("", SOUND_TEXT_READ_FAILED, name, AlertIcon::Warning);
    return PLAYER_OPEN_FAILED;
  }
  ReleaseHeld();
  mDecoder = std::move(decoder);
  if (!platform::AudioOutputIsOpen()) return PLAYER_PRIMARY_FAILED;
  uint32_t size = mDecoder->GetSize();
  mDecoder->GetFormat(mFormat);
  if (!MusicFormatPlayable(mFormat)) {
    ReportUnplayable(name, mFormat);
    return PLAYER_OUTPUT_ERROR;
  }
  return size < STATIC_SOUND_LIMIT ? OpenStatic(size) : OpenStreaming();
}

int SoundPlayer::OpenStatic(uint32_t size) {
  PcmBlock pcm;
  if (mDecoder->Read(pcm, SOUND_CURRENT_POSITION, 0, mLoop) != SOUND_OK) return PLAYER_OUTPUT_ERROR;
  mBuffer = platform::AudioBuffer::Create(MusicOutputFormat(mFormat), size);
  if (!mBuffer || !WriteBlock(0, size, pcm.Data())) return PLAYER_OUTPUT_ERROR;
  ApplySpeed();
  mStreaming = false;
  return PLAYER_OK;
}

int SoundPlayer::OpenStreaming() {
  StopWorker();
  if (StreamsFromMainLoop()) {
    StartPumped();
  } else {
    mEvent.Reset();
    mWorker = std::thread(&SoundPlayer::RunWorker, this);
    mEvent.Wait();
  }
  mStreaming = true;
  mSegmentBytes = StreamSegmentBytes(mFormat);
  mBuffer = platform::AudioBuffer::Create(MusicOutputFormat(mFormat), BufferBytes());
  if (!mBuffer) return PLAYER_OUTPUT_ERROR;
  ApplySpeed();
  return PLAYER_OK;
}

int SoundPlayer::Play() { return PlayFrom(0); }

int SoundPlayer::PlayFrom(uint32_t ms) {
  if (!mBuffer) return PLAYER_NO_BUFFER;
  if (mStreaming) {
    mStartFrame = PlayStartBytes(ms, mFormat) / mFormat.blockAlign;
    if (mPumped) {
      mPumpedStream = RestartStream(ms);
      return PLAYER_OK;
    }
    mMessages.Post({SOUND_MESSAGE_PLAY, ms});
    mEvent.Wait();
    return PLAYER_OK;
  }
  if (!mRestart && mBuffer->IsPlaying()) return PLAYER_OK;
  uint32_t start = PlayStartBytes(ms, mFormat);
  if (start >= mBuffer->Size()) {
    // Nothing left to play from there.
    mBuffer->Stop();
    return PLAYER_OK;
  }
  mBuffer->SetPlayPosition(start);
  mBuffer->Play(false);
  return PLAYER_OK;
}

bool SoundPlayer::IsPlaying() const { return mBuffer && mBuffer->IsPlaying(); }

void SoundPlayer::Stop() {
  if (mBuffer) mBuffer->Stop();
}

uint64_t SoundPlayer::PositionFrames() const {
  if (!mBuffer || mFormat.blockAlign == 0) return 0;
  if (mStreaming) return mStartFrame + mBuffer->PlayedFrames();
  return mBuffer->PlayPosition() / mFormat.blockAlign;
}

uint32_t SoundPlayer::PositionMs() const {
  if (mFormat.samplesPerSecond == 0) return 0;
  return static_cast<uint32_t>(PositionFrames() * 1000 / mFormat.samplesPerSecond);
}

uint32_t SoundPlayer::LengthMs() const {
  if (!mDecoder || mFormat.averageBytesPerSecond == 0) return 0;
  return static_cast<uint32_t>(static_cast<uint64_t>(mDecoder->GetSize()) * 1000 / mFormat.averageBytesPerSecond);
}

void SoundPlayer::SetSpeed(double speed) {
  mSpeed = speed;
  ApplySpeed();
}

void SoundPlayer::ApplySpeed() {
  if (!mBuffer) return;
  // The buffer's own rate exactly at 1, so normal play is untouched by rounding.
  mBuffer->SetFrequency(mSpeed == 1.0 ? 0 : static_cast<uint32_t>(mFormat.samplesPerSecond * mSpeed + 0.5));
}

int SoundPlayer::SetVolume(int32_t hundredthsOfDecibel) {
  if (!mBuffer) return PLAYER_NO_BUFFER;
  mBuffer->SetVolume(hundredthsOfDecibel);
  return PLAYER_OK;
}

int SoundPlayer::Close() {
  ReleaseHeld();
  if (mLive) {
    mLive = false;
    if (--gLivePlayers == 0) platform::CloseAudioOutput();
  }
  return PLAYER_OK;
}

void SoundPlayer::ReleaseHeld() {
  StopWorker();
  mBuffer.reset();
  mDecoder.reset();
  mEvent.Reset();
  mStreaming = false;
  mSegmentBytes = 0;
  mFormat = WaveFormat{};
}

void SoundPlayer::StopWorker() {
  if (mPumped) StopPumped();
  if (!mWorker.joinable()) return;
  mMessages.Post({THREAD_MESSAGE_QUIT, 0});
  mWorker.join();
  mMessages.Clear();
}

bool SoundPlayer::WriteBlock(uint32_t offset, uint32_t bytes, const uint8_t* data) {
  uint8_t* region = nullptr;
  platform::AudioLock lock = mBuffer->Lock(offset, bytes, &region);
  if (lock == platform::AudioLock::Lost && mBuffer->Restore()) lock = mBuffer->Lock(offset, bytes, &region);
  if (lock != platform::AudioLock::Locked) return false;
  std::memcpy(region, data, bytes);
  mBuffer->Unlock();
  return true;
}
