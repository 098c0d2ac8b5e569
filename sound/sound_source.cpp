#include "sound/sound_source.h"

#include <cstring>

bool IsMemorySource(const SoundSource& source) { return std::strcmp(source.name, SOUND_MEMORY_SOURCE_NAME) == 0; }
