// Streaming without a worker thread: the main loop does the worker's polling once per frame. A
// frame is far shorter than the half segment of lead the ring buffer keeps.
#include <algorithm>
#include <vector>

#include "sound/sound_player.h"

namespace {

bool gFromMainLoop = false;
std::vector<SoundPlayer*> gPumpedPlayers;

}  // namespace

bool SoundPlayer::StreamsFromMainLoop() { return gFromMainLoop; }

void SoundPlayer::StreamFromMainLoop(bool fromMainLoop) { gFromMainLoop = fromMainLoop; }

void SoundPlayer::PumpStreams() {
  for (SoundPlayer* player : gPumpedPlayers) player->PumpStep();
}

void SoundPlayer::StartPumped() {
  mPumped = true;
  mPumpedStream = StreamState{};
  gPumpedPlayers.push_back(this);
}

void SoundPlayer::StopPumped() {
  if (mBuffer) mBuffer->Stop();
  mPumped = false;
  mPumpedStream = StreamState{};
  gPumpedPlayers.erase(std::remove(gPumpedPlayers.begin(), gPumpedPlayers.end(), this), gPumpedPlayers.end());
}

void SoundPlayer::PumpStep() {
  if (!mBuffer) return;
  if (mPumpedStream.ending) {
    WaitForTheEnd(mPumpedStream);
  } else if (mPumpedStream.playing) {
    RefillIfDue(mPumpedStream);
  }
}
