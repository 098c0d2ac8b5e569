#include "tools/capture/segment_reader.h"

#include <algorithm>
#include <cstring>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/pixdesc.h>
}

#include "tools/capture/ffmpeg_error.h"

namespace {

constexpr int IO_BUFFER_BYTES = 4096;
constexpr int MAX_FPS = 1000;

// The frame rate as a whole number, or 0 when the stream does not state one.
uint32_t WholeFrameRate(const AVStream* stream) {
  for (AVRational rate : {stream->avg_frame_rate, stream->r_frame_rate}) {
    if (rate.num <= 0 || rate.den <= 0) continue;
    int num = 0;
    int den = 0;
    av_reduce(&num, &den, rate.num, rate.den, MAX_FPS);
    if (den == 1 && num <= MAX_FPS && av_cmp_q(rate, AVRational{num, den}) == 0) return static_cast<uint32_t>(num);
  }
  return 0;
}

std::string VideoFormatText(const AVCodecParameters& p, uint32_t fps) {
  const char* pixels = av_get_pix_fmt_name(static_cast<AVPixelFormat>(p.format));
  return std::string(avcodec_get_name(p.codec_id)) + " " + std::to_string(p.width) + "x" + std::to_string(p.height) +
         " " + (pixels ? pixels : "?") + " at " + std::to_string(fps) + " fps";
}

std::string AudioFormatText(const AVCodecParameters& p) {
  const char* samples = av_get_sample_fmt_name(static_cast<AVSampleFormat>(p.format));
  return std::string(avcodec_get_name(p.codec_id)) + " " + std::to_string(p.sample_rate) + " Hz " +
         std::to_string(p.ch_layout.nb_channels) + " channel(s) " + (samples ? samples : "?");
}

}  // namespace

struct SegmentReader::Memory {
  const uint8_t* data = nullptr;
  size_t size = 0;
  size_t position = 0;
  AVIOContext* io = nullptr;

  ~Memory() {
    if (io) av_freep(&io->buffer);
    avio_context_free(&io);
  }

  static int Read(void* opaque, uint8_t* buffer, int wanted) {
    auto* memory = static_cast<Memory*>(opaque);
    size_t count = std::min(static_cast<size_t>(wanted), memory->size - memory->position);
    if (count == 0) return AVERROR_EOF;
    std::memcpy(buffer, memory->data + memory->position, count);
    memory->position += count;
    return static_cast<int>(count);
  }

  static int64_t Seek(void* opaque, int64_t offset, int whence) {
    auto* memory = static_cast<Memory*>(opaque);
    if (whence & AVSEEK_SIZE) return static_cast<int64_t>(memory->size);
    int64_t base = (whence & 3) == SEEK_CUR ? static_cast<int64_t>(memory->position)
                   : (whence & 3) == SEEK_END ? static_cast<int64_t>(memory->size)
                                              : 0;
    int64_t target = base + offset;
    if (target < 0 || target > static_cast<int64_t>(memory->size)) return AVERROR(EINVAL);
    memory->position = static_cast<size_t>(target);
    return target;
  }
};

SegmentReader::SegmentReader() = default;

SegmentReader::~SegmentReader() { Close(); }

void SegmentReader::Close() {
  avformat_close_input(&mFormat);
  mMemory.reset();
  mVideo = -1;
  mAudio = -1;
}

bool SegmentReader::Open(const std::string& path, std::string& error) {
  Close();
  int status = avformat_open_input(&mFormat, path.c_str(), nullptr, nullptr);
  if (status < 0) {
    error = "cannot read it: " + FfmpegErrorText(status);
    return false;
  }
  return FindStreams(error);
}

bool SegmentReader::OpenMemory(const uint8_t* data, size_t size, std::string& error) {
  Close();
  mMemory = std::make_unique<Memory>();
  mMemory->data = data;
  mMemory->size = size;
  auto* buffer = static_cast<uint8_t*>(av_malloc(IO_BUFFER_BYTES));
  mMemory->io = avio_alloc_context(buffer, IO_BUFFER_BYTES, 0, mMemory.get(), Memory::Read, nullptr, Memory::Seek);
  mFormat = avformat_alloc_context();
  if (!buffer || !mMemory->io || !mFormat) {
    if (!mMemory->io) av_free(buffer);
    error = "out of memory";
    return false;
  }
  mFormat->pb = mMemory->io;
  int status = avformat_open_input(&mFormat, nullptr, nullptr, nullptr);
  if (status < 0) {
    error = "cannot read it: " + FfmpegErrorText(status);
    return false;
  }
  return FindStreams(error);
}

bool SegmentReader::FindStreams(std::string& error) {
  int status = avformat_find_stream_info(mFormat, nullptr);
  if (status < 0) {
    error = "cannot read its streams: " + FfmpegErrorText(status);
    return false;
  }
  for (unsigned i = 0; i < mFormat->nb_streams; ++i) {
    AVMediaType type = mFormat->streams[i]->codecpar->codec_type;
    int& slot = type == AVMEDIA_TYPE_VIDEO ? mVideo : mAudio;
    if ((type != AVMEDIA_TYPE_VIDEO && type != AVMEDIA_TYPE_AUDIO) || slot >= 0) {
      error = "holds more than one video and one sound stream: not a capture";
      return false;
    }
    slot = static_cast<int>(i);
  }
  if (mVideo < 0) {
    error = "has no video stream";
    return false;
  }
  return true;
}

AVStream* SegmentReader::VideoStream() const { return mFormat->streams[mVideo]; }

AVStream* SegmentReader::AudioStream() const { return mAudio >= 0 ? mFormat->streams[mAudio] : nullptr; }

bool SegmentReader::ReadPacket(AVPacket* packet) {
  while (av_read_frame(mFormat, packet) >= 0) {
    if (packet->stream_index == mVideo || packet->stream_index == mAudio) return true;
    av_packet_unref(packet);
  }
  return false;
}

bool SegmentReader::Scan(SegmentSummary& summary, std::string& error) {
  const AVStream* video = VideoStream();
  const AVStream* audio = AudioStream();
  summary = SegmentSummary{};
  summary.fps = WholeFrameRate(video);
  if (summary.fps == 0) {
    error = "states no whole frame rate";
    return false;
  }
  summary.videoFormat = VideoFormatText(*video->codecpar, summary.fps);
  const AVCodecParameters& parameters = *video->codecpar;
  summary.videoSetup.assign(parameters.extradata, parameters.extradata + parameters.extradata_size);
  if (audio) {
    summary.hasAudio = true;
    summary.sampleRate = audio->codecpar->sample_rate;
    summary.audioFormat = AudioFormatText(*audio->codecpar);
    summary.audioCodec = avcodec_get_name(audio->codecpar->codec_id);
    summary.audioHasPriming = audio->codecpar->initial_padding > 0 || audio->codecpar->codec_id == AV_CODEC_ID_AAC ||
                              audio->codecpar->codec_id == AV_CODEC_ID_OPUS;
    if (summary.sampleRate <= 0) {
      error = "states no sample rate";
      return false;
    }
  }
  std::vector<int64_t> frames;
  int64_t firstSample = INT64_MAX;
  AVPacket* packet = av_packet_alloc();
  while (ReadPacket(packet)) {
    int64_t time = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
    const AVStream* stream = mFormat->streams[packet->stream_index];
    if (time != AV_NOPTS_VALUE && stream == video) {
      frames.push_back(av_rescale_q_rnd(time, stream->time_base, {1, static_cast<int>(summary.fps)}, AV_ROUND_NEAR_INF));
    } else if (time != AV_NOPTS_VALUE) {
      AVRational perSample = {1, summary.sampleRate};
      firstSample = std::min(firstSample, av_rescale_q_rnd(time, stream->time_base, perSample, AV_ROUND_NEAR_INF));
    }
    av_packet_unref(packet);
  }
  av_packet_free(&packet);
  if (frames.empty()) {
    error = "holds no frame";
    return false;
  }
  std::sort(frames.begin(), frames.end());
  for (size_t i = 1; i < frames.size(); ++i) {
    if (frames[i] != frames[0] + static_cast<int64_t>(i)) {
      error = frames[i] == frames[i - 1] ? "holds frame " + std::to_string(frames[i]) + " twice"
                                         : "misses frame " + std::to_string(frames[i - 1] + 1);
      return false;
    }
  }
  summary.firstFrame = frames.front();
  summary.frameCount = static_cast<int64_t>(frames.size());
  summary.firstSample = firstSample == INT64_MAX ? 0 : firstSample;
  return true;
}
