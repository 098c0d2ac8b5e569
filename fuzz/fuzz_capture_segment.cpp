// A capture segment as capture-join reads it: FFmpeg's demuxers over the bytes, then every packet
// summed up into frame and sample positions.
#include <cstddef>
#include <cstdint>
#include <string>

#include "tools/capture/ffmpeg_error.h"
#include "tools/capture/segment_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool QUIET = (QuietFfmpegLog(), true);
  (void)QUIET;
  SegmentReader reader;
  SegmentSummary summary;
  std::string error;
  if (reader.OpenMemory(data, size, error)) reader.Scan(summary, error);
  return 0;
}
