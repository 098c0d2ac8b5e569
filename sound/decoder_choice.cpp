#include "sound/decoder_choice.h"

#include "sound/ogg_vorbis_loader.h"
#include "sound/wave_loader.h"

std::unique_ptr<CSoundLoader> ChooseDecoder(const char* name) {
  std::unique_ptr<CSoundLoader> wave = std::make_unique<WaveLoader>();
  if (wave->Probe(name)) return wave;
  std::unique_ptr<CSoundLoader> ogg = std::make_unique<OggVorbisLoader>();
  if (ogg->Probe(name)) return ogg;
  return nullptr;
}
