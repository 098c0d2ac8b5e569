#include "dev/music_track.h"

#include "platform/audio_buffer.h"
#include "sound/sound_player.h"
#include "sound/sound_status.h"

MusicPlayerTrack::MusicPlayerTrack() : mPlayer(std::make_unique<SoundPlayer>()) {}

MusicPlayerTrack::~MusicPlayerTrack() = default;

bool MusicPlayerTrack::Open(const std::string& path, std::string& error) {
  if (mPlayer->InitDirectSound() != PLAYER_OK || mPlayer->OpenMusic(path.c_str()) != PLAYER_OK) {
    // The player's notice goes on to say the demo cannot start, which is not so here.
    error = mPlayer->Failure() ? mPlayer->Failure()->text.substr(0, mPlayer->Failure()->text.find('\n'))
                               : "the music cannot be played";
    mPlayer->Close();
    return false;
  }
  mOpen = true;
  return true;
}

bool MusicPlayerTrack::PlayFrom(uint32_t ms) {
  if (!mOpen || ms >= LengthMs()) return false;
  return mPlayer->PlayFrom(ms) == PLAYER_OK;
}

void MusicPlayerTrack::Stop() { mPlayer->Stop(); }

bool MusicPlayerTrack::IsPlaying() const { return mOpen && mPlayer->IsPlaying(); }

uint32_t MusicPlayerTrack::PositionMs() const { return mPlayer->PositionMs(); }

uint32_t MusicPlayerTrack::LengthMs() const { return mOpen ? mPlayer->LengthMs() : 0; }

void MusicPlayerTrack::SetSpeed(double speed) { mPlayer->SetSpeed(speed); }

void MusicPlayerTrack::SetMuted(bool muted) {
  mPlayer->SetVolume(muted ? platform::AUDIO_VOLUME_SILENT : platform::AUDIO_VOLUME_FULL);
}
