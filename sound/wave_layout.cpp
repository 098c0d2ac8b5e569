#include "sound/wave_layout.h"

#include <algorithm>

#include "sound/riff_reader.h"

namespace {

// The bytes up to the bits per sample; a shorter 'fmt ' chunk cannot describe PCM.
constexpr uint32_t WAVE_FORMAT_MIN_BYTES = 16;

}  // namespace

bool ReadWaveLayout(RiffSource& source, WaveLayout& out) {
  RiffChunk wave;
  RiffChunk fmt;
  RiffChunk data;
  if (!FindRiffForm(source, RIFF_ID_WAVE, wave)) return false;
  if (!DescendRiffChunk(source, wave, wave.dataOffset, RIFF_ID_FMT, fmt)) return false;
  if (fmt.size < WAVE_FORMAT_MIN_BYTES) return false;
  uint8_t record[WAVE_FORMAT_RECORD_SIZE] = {};
  uint32_t recordBytes = std::min<uint32_t>(fmt.size, WAVE_FORMAT_RECORD_SIZE);
  if (!source.ReadAt(fmt.dataOffset, record, recordBytes)) return false;
  WaveFormat format = ParseWaveFormat(record, recordBytes);
  if (!WaveFormatUsable(format)) return false;
  if (!DescendRiffChunk(source, wave, AscendRiffChunk(fmt), RIFF_ID_DATA, data)) return false;
  out.format = format;
  out.dataOffset = data.dataOffset;
  out.dataSize = data.size;
  return true;
}
