#include "demo/demo_music.h"

#include "sound/sound_player.h"

void SoundPlayerMusic::Play() { mPlayer.Play(); }

bool SoundPlayerMusic::IsPlaying() const { return mPlayer.IsPlaying(); }

void SoundPlayerMusic::SetVolume(int32_t hundredthsOfDecibel) { mPlayer.SetVolume(hundredthsOfDecibel); }
