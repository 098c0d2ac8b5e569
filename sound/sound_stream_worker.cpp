// The streaming worker of SoundPlayer: it owns every decode and buffer write while streaming,
// polls its message queue and the play cursor every STREAM_POLL, and never waits on the main
// thread.
#include <pthread.h>

#include <algorithm>
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
  StreamState stream;
  for (;;) {
    ThreadMessage message;
    if (mMessages.Take(message)) {
      if (message.id == THREAD_MESSAGE_QUIT) break;
      if (message.id == SOUND_MESSAGE_PLAY) {
        mEvent.Reset();
        stream = RestartStream(static_cast<uint32_t>(message.param));
        mEvent.Set();
      }
    } else if (stream.ending) {
      WaitForTheEnd(stream);
    } else if (stream.playing) {
      RefillIfDue(stream);
    }
    std::this_thread::sleep_for(STREAM_POLL);
  }
  if (mBuffer) mBuffer->Stop();
}

// Rewinds the buffer, writes the first segment from ms into the music and starts looping
// playback.
SoundPlayer::StreamState SoundPlayer::RestartStream(uint32_t ms) {
  mBuffer->Stop();
  mBuffer->SetPlayPosition(0);
  StreamState stream;
  stream.playing = true;
  if (mDecoder->SeekBytes(PlayStartBytes(ms, mFormat), SOUND_SEEK_SET) != SOUND_OK) {
    std::vector<uint8_t> silence(mSegmentBytes, SilenceByte(mFormat));
    WriteBlock(0, mSegmentBytes, silence.data());
    stream.writeOffset = mSegmentBytes;
  } else {
    WriteNextSegment(stream);
    // Nothing audible from there: there is nothing to play.
    if (stream.ending && stream.endOffset == stream.writeOffset) return StreamState{};
  }
  mBuffer->Play(true);
  return stream;
}

// Writes the next segment once it is due.
void SoundPlayer::RefillIfDue(StreamState& stream) {
  if (SegmentDue(mBuffer->PlayPosition(), stream.writeOffset, mSegmentBytes)) WriteNextSegment(stream);
}

// Decodes one segment into the ring at the write offset. At the end of the music the segments
// already queued still play: the buffer is told to stop right after the last sample.
void SoundPlayer::WriteNextSegment(StreamState& stream) {
  PcmBlock data;
  uint32_t before = mDecoder->GetPosition();
  int status = mDecoder->Read(data, SOUND_CURRENT_POSITION, mSegmentBytes, mLoop);
  if (status == SOUND_OK || status == SOUND_END_IN_BLOCK) {
    WriteBlock(stream.writeOffset, mSegmentBytes, data.Data());
  }
  if (status == SOUND_OK) {
    stream.writeOffset = (stream.writeOffset + mSegmentBytes) % BufferBytes();
    return;
  }
  // A sound that ends exactly on a segment boundary reports its end only on the next read, as all
  // silence; a failed read has nothing more to give. Either way the music ends where the last
  // written segment does.
  uint32_t audible = 0;
  if (status == SOUND_END_IN_BLOCK) audible = std::min(mDecoder->GetPosition() - before, mSegmentBytes);
  stream.endOffset = (stream.writeOffset + audible) % BufferBytes();
  // The end lies at most a segment and a half ahead of the cursor. Further means the cursor has
  // already passed it (this thread was kept from running): stop now rather than play the ring round.
  uint32_t ahead = (stream.endOffset + BufferBytes() - mBuffer->PlayPosition()) % BufferBytes();
  if (ahead > BufferBytes() / 2) {
    mBuffer->Stop();
  } else {
    mBuffer->StopAt(stream.endOffset);
  }
  stream.ending = true;
}

// Once the buffer has played its last sample: rewound and idle until the next play request.
void SoundPlayer::WaitForTheEnd(StreamState& stream) {
  if (mBuffer->IsPlaying()) return;
  mBuffer->SetPlayPosition(0);
  stream = StreamState{};
}
