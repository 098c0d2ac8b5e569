#include "sound/ogg_vorbis_loader.h"

#include <algorithm>
#include <climits>

#define OV_EXCLUDE_STATIC_CALLBACKS
#include <vorbis/vorbisfile.h>

#include "core/log.h"
#include "sound/ogg_memory_source.h"
#include "sound/ogg_page_order.h"

namespace {

size_t FileRead(void* out, size_t size, size_t count, void* file) {
  return std::fread(out, size, count, static_cast<std::FILE*>(file));
}

int FileSeek(void* file, ogg_int64_t offset, int whence) {
  return fseeko(static_cast<std::FILE*>(file), static_cast<off_t>(offset), whence);
}

long FileTell(void* file) { return static_cast<long>(ftello(static_cast<std::FILE*>(file))); }

// The decoder closes its own file, so vorbisfile is given no close callback for it.
constexpr ov_callbacks FILE_CALLBACKS = {FileRead, FileSeek, nullptr, FileTell};
constexpr ov_callbacks MEMORY_CALLBACKS = {OggMemoryRead, OggMemorySeek, OggMemoryClose, OggMemoryTell};

// vorbisfile reads 16-bit words, little-endian, signed.
constexpr int OGG_BIG_ENDIAN = 0;
constexpr int OGG_WORD_BYTES = 2;
constexpr int OGG_SIGNED = 1;

}  // namespace

OggVorbisLoader::OggVorbisLoader() = default;

OggVorbisLoader::~OggVorbisLoader() { Close(); }

bool OggVorbisLoader::OpenStream() {
  std::string fault;
  bool inOrder = IsMemorySource(*mSource) ? OggPagesInOrder(mSource->memory, mSource->size, fault)
                                          : OggFilePagesInOrder(SourcePath(), fault);
  if (!inOrder) {
    Log(LogLevel::Error, "sound", "%s: damaged Ogg file, not decoded: %s", SourcePath(), fault.c_str());
    return false;
  }
  auto vorbis = std::make_unique<OggVorbis_File>();
  int result;
  if (IsMemorySource(*mSource)) {
    mSource->readPosition = 0;
    result = ov_open_callbacks(mSource.get(), vorbis.get(), nullptr, 0, MEMORY_CALLBACKS);
  } else {
    mFile = std::fopen(SourcePath(), "rb");
    if (!mFile) return false;
    result = ov_open_callbacks(mFile, vorbis.get(), nullptr, 0, FILE_CALLBACKS);
  }
  // A failed open has already cleared the decoder state.
  if (result != 0) return false;
  mVorbis = std::move(vorbis);
  return TakeStreamInfo();
}

bool OggVorbisLoader::TakeStreamInfo() {
  const vorbis_info* info = ov_info(mVorbis.get(), -1);
  if (!info || info->channels <= 0 || info->rate <= 0) return false;
  uint64_t bytesPerSecond = static_cast<uint64_t>(info->rate) * static_cast<uint64_t>(info->channels) * 2;
  if (info->channels > UINT16_MAX / 2 || bytesPerSecond > UINT32_MAX) return false;
  double seconds = ov_time_total(mVorbis.get(), -1);
  double total = seconds * static_cast<double>(info->rate) * info->channels * 16 * 0.125;
  // A length that cannot be counted in 32 bits is a damaged stream, not music.
  if (!(total >= 0.0) || total >= 4294967296.0) return false;
  mTotal = static_cast<uint32_t>(total);
  mFormat = Pcm16Format(static_cast<uint16_t>(info->channels), static_cast<uint32_t>(info->rate));
  return true;
}

void OggVorbisLoader::CloseStream() {
  if (mVorbis) ov_clear(mVorbis.get());
  mVorbis.reset();
  if (mFile) std::fclose(mFile);
  mFile = nullptr;
}

bool OggVorbisLoader::SeekStream(uint64_t bytes) {
  return SeekSample(bytes * mFormat.samplesPerSecond / mFormat.averageBytesPerSecond);
}

bool OggVorbisLoader::SeekSample(uint64_t sample) {
  if (sample <= INT64_MAX && ov_pcm_seek(mVorbis.get(), static_cast<ogg_int64_t>(sample)) == 0) return true;
  // Past the end the seek fails; the stream still goes to the end, so that reads which follow
  // report the end instead of going on from where the stream was.
  ogg_int64_t end = ov_pcm_total(mVorbis.get(), -1);
  if (end >= 0 && sample > static_cast<uint64_t>(end)) ov_pcm_seek(mVorbis.get(), end);
  return false;
}

uint64_t OggVorbisLoader::StreamOffset() {
  ogg_int64_t samples = ov_pcm_tell(mVorbis.get());
  if (samples < 0) return 0;
  return static_cast<uint64_t>(mFormat.channels) * (static_cast<uint64_t>(samples) * mFormat.bitsPerSample / 8);
}

CSoundLoader::Fill OggVorbisLoader::FillFromStream(uint8_t* out, uint32_t bytes) {
  Fill fill;
  int section = 0;
  while (fill.bytes < bytes) {
    int want = static_cast<int>(std::min<uint32_t>(bytes - fill.bytes, INT_MAX));
    long got = ov_read(mVorbis.get(), reinterpret_cast<char*>(out + fill.bytes), want, OGG_BIG_ENDIAN,
                       OGG_WORD_BYTES, OGG_SIGNED, &section);
    if (got == 0) return fill;
    if (got < 0) {
      // A damaged stretch: the rest of this block stays silent, the read still succeeds.
      fill.bytes = bytes;
      return fill;
    }
    fill.bytes += static_cast<uint32_t>(got);
  }
  return fill;
}

int OggVorbisLoader::SeekBytes(int64_t bytes, int) {
  if (!mOpened) return SOUND_OK;
  mPosition = static_cast<uint32_t>(bytes);
  if (bytes < 0 || !EnsureStream() || !SeekStream(static_cast<uint64_t>(bytes))) {
    mPosition = 0;
    return SOUND_SOURCE_FAILED;
  }
  return SOUND_OK;
}

int OggVorbisLoader::SeekMs(uint32_t ms, int) {
  if (!mOpened || !EnsureStream()) return SOUND_OK;
  mPosition = static_cast<uint32_t>(static_cast<uint64_t>(ms) * mFormat.averageBytesPerSecond / 1000);
  SeekSample(static_cast<uint64_t>(ms) * mFormat.samplesPerSecond / 1000);
  return SOUND_OK;
}
