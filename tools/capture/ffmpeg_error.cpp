#include "tools/capture/ffmpeg_error.h"

extern "C" {
#include <libavutil/error.h>
#include <libavutil/log.h>
}

std::string FfmpegErrorText(int code) {
  char text[AV_ERROR_MAX_STRING_SIZE] = {};
  av_strerror(code, text, sizeof text);
  return text;
}

void QuietFfmpegLog() { av_log_set_level(AV_LOG_ERROR); }
