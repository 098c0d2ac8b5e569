// Ogg Vorbis input through the decoder's memory source: open, block reads to the end, a
// looping read, seeks and a whole read.
#include <cstddef>
#include <cstdint>

#include "sound/ogg_vorbis_loader.h"

namespace {

constexpr uint32_t FUZZ_BLOCK = 16384;
constexpr int FUZZ_MAX_BLOCKS = 64;
constexpr uint32_t FUZZ_WHOLE_READ_LIMIT = 4u << 20;

}  // namespace

// vorbisfile 1.3.7 loses 8 bytes inside ov_open_callbacks when some damaged headers make it fail
// (our callbacks and ov_clear are not involved); that is the library's, not ours to chase here.
extern "C" const char* __lsan_default_suppressions() { return "leak:libvorbisfile.so\n"; }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  OggVorbisLoader loader;
  if (loader.Open(SOUND_MEMORY_SOURCE_NAME, data, size) != SOUND_OK) return 0;
  PcmBlock block;
  int status = SOUND_OK;
  for (int i = 0; i < FUZZ_MAX_BLOCKS && status == SOUND_OK; ++i) {
    status = loader.Read(block, SOUND_CURRENT_POSITION, FUZZ_BLOCK, false);
  }
  loader.Read(block, loader.GetSize() / 3, FUZZ_BLOCK, true);
  loader.SeekBytes(loader.GetSize() / 2, SOUND_SEEK_SET);
  loader.SeekMs(loader.GetLengthMs() + 1, SOUND_SEEK_SET);
  loader.Read(block, SOUND_CURRENT_POSITION, 333, false);
  if (loader.GetSize() <= FUZZ_WHOLE_READ_LIMIT) loader.Read(block, SOUND_CURRENT_POSITION, 0, false);
  return 0;
}
