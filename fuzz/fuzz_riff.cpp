// RIFF WAVE input: the chunk reader on its own, then the decoder over the memory source as the
// player drives it (blocks, a looping read, seeks, a whole read).
#include <cstddef>
#include <cstdint>

#include "sound/riff_reader.h"
#include "sound/wave_layout.h"
#include "sound/wave_loader.h"

namespace {

// Whole reads allocate the stated length; keep them to what a fuzz run can afford.
constexpr uint32_t FUZZ_WHOLE_READ_LIMIT = 16u << 20;

void WalkChunks(const uint8_t* data, size_t size) {
  MemoryRiffSource source(data, size);
  RiffChunk form;
  if (!FindRiffForm(source, RIFF_ID_WAVE, form)) return;
  RiffChunk chunk;
  for (uint64_t at = form.dataOffset; DescendRiffChunk(source, form, at, RIFF_ID_DATA, chunk); at = AscendRiffChunk(chunk)) {
  }
  WaveLayout layout;
  ReadWaveLayout(source, layout);
}

void Decode(const uint8_t* data, size_t size) {
  WaveLoader loader;
  if (loader.Open(SOUND_MEMORY_SOURCE_NAME, data, size) != SOUND_OK) return;
  PcmBlock block;
  for (int i = 0; i < 4; ++i) loader.Read(block, SOUND_CURRENT_POSITION, 4096, false);
  loader.Read(block, loader.GetSize() / 2, 4096, true);
  loader.SeekBytes(-3, SOUND_SEEK_END);
  loader.Read(block, SOUND_CURRENT_POSITION, 7, true);
  loader.SeekMs(1, SOUND_SEEK_SET);
  if (loader.GetSize() <= FUZZ_WHOLE_READ_LIMIT) loader.Read(block, SOUND_CURRENT_POSITION, 0, false);
  loader.GetLengthMs();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  WalkChunks(data, size);
  Decode(data, size);
  return 0;
}
