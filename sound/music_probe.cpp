#include "sound/music_probe.h"

#include "sound/ogg_vorbis_loader.h"
#include "sound/sound_status.h"
#include "sound/wave_loader.h"

std::unique_ptr<CSoundLoader> ChooseMusicDecoder(const char* name) {
  std::unique_ptr<CSoundLoader> wave = std::make_unique<WaveLoader>();
  if (wave->Probe(name)) return wave;
  std::unique_ptr<CSoundLoader> ogg = std::make_unique<OggVorbisLoader>();
  if (ogg->Probe(name)) return ogg;
  return nullptr;
}

platform::AudioFormat MusicOutputFormat(const WaveFormat& format) {
  platform::AudioFormat out;
  out.channels = format.channels;
  out.samplesPerSecond = format.samplesPerSecond;
  out.bitsPerSample = format.bitsPerSample;
  out.blockAlign = format.blockAlign;
  return out;
}

// An extensible record of 8 or 16 bits can only hold integer PCM, whatever its sub-format says.
bool MusicFormatPlayable(const WaveFormat& format) {
  bool pcm = format.formatTag == WAVE_FORMAT_PCM || format.formatTag == WAVE_FORMAT_EXTENSIBLE;
  return pcm && platform::AudioBuffer::SupportsFormat(MusicOutputFormat(format));
}

MusicProbe ProbeMusic(const std::string& path) {
  MusicProbe probe;
  std::unique_ptr<CSoundLoader> decoder = ChooseMusicDecoder(path.c_str());
  if (!decoder) return probe;
  probe.decoder = true;
  probe.decoderName = dynamic_cast<WaveLoader*>(decoder.get()) ? "RIFF WAVE" : "Ogg Vorbis";
  if (decoder->Open(path.c_str()) != SOUND_OK) return probe;
  probe.opens = true;
  decoder->GetFormat(probe.format);
  probe.lengthMs = decoder->GetLengthMs();
  probe.playable = MusicFormatPlayable(probe.format);
  return probe;
}
