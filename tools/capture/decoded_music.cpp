#include "tools/capture/decoded_music.h"

#include <filesystem>

#include "sound/music_probe.h"
#include "sound/pcm_block.h"
#include "sound/sound_status.h"

namespace tools {

namespace {

bool Playable(const WaveFormat& format) {
  bool pcm = format.formatTag == WAVE_FORMAT_PCM || format.formatTag == WAVE_FORMAT_EXTENSIBLE;
  bool bits = format.bitsPerSample == 8 || format.bitsPerSample == 16;
  bool channels = format.channels == 1 || format.channels == 2;
  return pcm && bits && channels && format.samplesPerSecond > 0 && format.blockAlign == format.channels * format.bitsPerSample / 8;
}

}  // namespace

bool DecodeMusic(const std::string& path, DecodedMusic& music, std::string& error) {
  std::error_code ignored;
  if (!std::filesystem::is_regular_file(path, ignored)) {
    error = "no music file at " + path;
    return false;
  }
  std::unique_ptr<CSoundLoader> decoder = ChooseMusicDecoder(path.c_str());
  if (!decoder || decoder->Open(path.c_str()) != SOUND_OK) {
    error = path + " is neither RIFF WAVE nor Ogg Vorbis that decodes";
    return false;
  }
  WaveFormat format;
  decoder->GetFormat(format);
  if (!Playable(format)) {
    error = path + " holds " + std::to_string(format.bitsPerSample) + "-bit sound in " + std::to_string(format.channels) +
            " channel(s); the player plays only 8- or 16-bit PCM, mono or stereo";
    return false;
  }
  PcmBlock pcm;
  if (decoder->Read(pcm, SOUND_CURRENT_POSITION, 0, false) != SOUND_OK) {
    error = path + " does not decode";
    return false;
  }
  music.sampleRate = format.samplesPerSecond;
  music.channels = format.channels;
  size_t count = pcm.Size() / format.blockAlign * format.channels;
  music.samples.resize(count);
  const uint8_t* bytes = pcm.Data();
  for (size_t i = 0; i < count; ++i) {
    music.samples[i] = format.bitsPerSample == 8 ? static_cast<int16_t>((bytes[i] - 128) * 256)
                                                 : static_cast<int16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
  }
  return true;
}

}  // namespace tools
