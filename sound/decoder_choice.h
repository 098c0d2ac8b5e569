#pragma once
// Which decoder reads a sound file: the one the player asks first that accepts it. Shared by the
// player and by anything that must hear exactly what the player hears (video capture).

#include <memory>

#include "sound/sound_loader.h"

// RIFF WAVE first, then Ogg Vorbis; null when neither accepts the file. The decoder is closed.
std::unique_ptr<CSoundLoader> ChooseDecoder(const char* name);
