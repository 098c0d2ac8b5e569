// The streaming worker of SoundPlayer: it owns every decode and buffer write while streaming,
// polls its message queue and the play cursor every STREAM_POLL, and never waits on the main
// thread.
#include <pthread.h>

#include <chrono>
#include <vector>

#include "sound/sound_player.h"

namespace {

constexpr std::chrono::milliseconds STREAM_POLL{5};

}  // namespace

void SoundPlayer::RunWorker() {
  // Named so profilers and the CPU benchmark can find it.
  pthread_setname_np(pthread_self(), "sound-stream");
  mEvent.Reset();
  mEvent.Set();
  uint32_t writeOffset = 0;
  bool playing = false;
  for (;;) {
    ThreadMessage message;
    if (mMessages.Take(message)) {
      if (message.id == THREAD_MESSAGE_QUIT) break;
      if (message.id == SOUND_MESSAGE_PLAY) {
        mEvent.Reset();
        writeOffset = RestartStream(static_cast<uint32_t>(message.param));
        playing = true;
        mEvent.Set();
      }
    } else if (playing) {
      playing = RefillIfDue(writeOffset);
    }
    std::this_thread::sleep_for(STREAM_POLL);
  }
  if (mBuffer) mBuffer->Stop();
}

// Rewinds the buffer, writes the first segment from ms into the music and starts looping
// playback; returns where the next segment goes.
uint32_t SoundPlayer::RestartStream(uint32_t ms) {
  mBuffer->Stop();
  mBuffer->SetPlayPosition(0);
  uint32_t writeOffset = 0;
  if (mDecoder->SeekBytes(PlayStartBytes(ms, mFormat), SOUND_SEEK_SET) != SOUND_OK) {
    std::vector<uint8_t> silence(mSegmentBytes, SilenceByte(mFormat));
    WriteBlock(0, mSegmentBytes, silence.data());
    writeOffset = mSegmentBytes;
  } else {
    PcmBlock data;
    if (mDecoder->Read(data, SOUND_CURRENT_POSITION, mSegmentBytes, mLoop) != SOUND_SOURCE_FAILED) {
      WriteBlock(0, mSegmentBytes, data.Data());
      writeOffset = mSegmentBytes;
    }
  }
  mBuffer->Play(true);
  return writeOffset;
}

// Writes the next segment once it is due; false when the music has ended and playback stopped.
bool SoundPlayer::RefillIfDue(uint32_t& writeOffset) {
  if (!SegmentDue(mBuffer->PlayPosition(), writeOffset, mSegmentBytes)) return true;
  PcmBlock data;
  int status = mDecoder->Read(data, SOUND_CURRENT_POSITION, mSegmentBytes, mLoop);
  // A sound that ends exactly on a segment boundary reports its end only on the next read,
  // as all silence; a failed read has nothing more to give. Both end the music like the end
  // inside a segment does.
  if (status == SOUND_END_IN_BLOCK || status == SOUND_ALREADY_ENDED || status == SOUND_SOURCE_FAILED) {
    mBuffer->Stop();
    mBuffer->SetPlayPosition(0);
    writeOffset = 0;
    return false;
  }
  WriteBlock(writeOffset, mSegmentBytes, data.Data());
  writeOffset = (writeOffset + mSegmentBytes) % BufferBytes();
  return true;
}
