#include "demo/music_transport.h"

#include "sound/sound_player.h"
#include "sound/sound_status.h"

SoundPlayerTransport::SoundPlayerTransport() : mPlayer(std::make_unique<SoundPlayer>()) {}

SoundPlayerTransport::~SoundPlayerTransport() = default;

bool SoundPlayerTransport::Open(const std::string& path) {
  mOpen = mPlayer->InitDirectSound() == PLAYER_OK && mPlayer->OpenMusic(path.c_str()) == PLAYER_OK;
  return mOpen;
}

const std::optional<Alert>& SoundPlayerTransport::Failure() const { return mPlayer->Failure(); }

void SoundPlayerTransport::Play() { mPlayer->Play(); }

bool SoundPlayerTransport::PlayFrom(uint32_t ms) {
  if (!mOpen || ms >= LengthMs()) return false;
  return mPlayer->PlayFrom(ms) == PLAYER_OK;
}

void SoundPlayerTransport::Stop() { mPlayer->Stop(); }

bool SoundPlayerTransport::IsPlaying() const { return mOpen && mPlayer->IsPlaying(); }

uint32_t SoundPlayerTransport::PositionMs() const { return mPlayer->PositionMs(); }

uint32_t SoundPlayerTransport::LengthMs() const { return mOpen ? mPlayer->LengthMs() : 0; }

void SoundPlayerTransport::SetSpeed(double speed) { mPlayer->SetSpeed(speed); }

void SoundPlayerTransport::SetVolume(int32_t hundredthsOfDecibel) { mPlayer->SetVolume(hundredthsOfDecibel); }
