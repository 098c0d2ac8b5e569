#include "tools/capture/container_check.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

bool ContainerTakes(AVFormatContext& format, AVCodecID codec, std::string& error) {
  if (avformat_query_codec(format.oformat, codec, FF_COMPLIANCE_EXPERIMENTAL) != 1) {
    error = std::string("the ") + format.oformat->name + " container cannot hold " + avcodec_get_name(codec);
    return false;
  }
  // FLAC in MP4 is standard, but this FFmpeg still calls its muxing experimental.
  if (codec == AV_CODEC_ID_FLAC) format.strict_std_compliance = FF_COMPLIANCE_EXPERIMENTAL;
  return true;
}
