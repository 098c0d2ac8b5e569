#include "tests/tools/capture/decoded_media.h"

#include <cstring>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

namespace {

struct Decoder {
  AVCodecContext* context = nullptr;
  AVStream* stream = nullptr;
  ~Decoder() { avcodec_free_context(&context); }

  bool Open(AVStream* s) {
    stream = s;
    const AVCodec* codec = avcodec_find_decoder(s->codecpar->codec_id);
    context = avcodec_alloc_context3(codec);
    if (!codec || avcodec_parameters_to_context(context, s->codecpar) < 0) return false;
    context->pkt_timebase = s->time_base;
    return avcodec_open2(context, codec, nullptr) >= 0;
  }
};

class MediaDecoder {
 public:
  MediaDecoder(DecodedMedia& media, int fps) : mMedia(media), mFps(fps) {}
  ~MediaDecoder() {
    sws_freeContext(mScaler);
    swr_free(&mResampler);
    av_frame_free(&mFrame);
    av_packet_free(&mPacket);
    avformat_close_input(&mFormat);
  }

  bool Run(const std::string& path, std::string& error) {
    if (avformat_open_input(&mFormat, path.c_str(), nullptr, nullptr) < 0 || avformat_find_stream_info(mFormat, nullptr) < 0) {
      error = "cannot open " + path;
      return false;
    }
    for (unsigned i = 0; i < mFormat->nb_streams; ++i) {
      AVStream* stream = mFormat->streams[i];
      Decoder& decoder = stream->codecpar->codec_type == AVMEDIA_TYPE_VIDEO ? mVideo : mAudio;
      if (!decoder.Open(stream)) {
        error = "no decoder for stream " + std::to_string(i);
        return false;
      }
    }
    mFrame = av_frame_alloc();
    mPacket = av_packet_alloc();
    while (av_read_frame(mFormat, mPacket) >= 0) {
      Decoder* decoder = mPacket->stream_index == (mVideo.stream ? mVideo.stream->index : -1) ? &mVideo : &mAudio;
      bool sent = decoder->context && Decode(*decoder, mPacket);
      av_packet_unref(mPacket);
      if (!sent) {
        error = "a packet does not decode";
        return false;
      }
    }
    if ((mVideo.context && !Decode(mVideo, nullptr)) || (mAudio.context && !Decode(mAudio, nullptr))) {
      error = "the decoders do not drain";
      return false;
    }
    mMedia.videoCodec = mVideo.stream ? avcodec_get_name(mVideo.stream->codecpar->codec_id) : "";
    mMedia.audioCodec = mAudio.stream ? avcodec_get_name(mAudio.stream->codecpar->codec_id) : "";
    return true;
  }

 private:
  bool Decode(Decoder& decoder, const AVPacket* packet) {
    if (avcodec_send_packet(decoder.context, packet) < 0) return false;
    while (avcodec_receive_frame(decoder.context, mFrame) >= 0) {
      bool kept = &decoder == &mVideo ? KeepPicture(decoder) : KeepSound(decoder);
      av_frame_unref(mFrame);
      if (!kept) return false;
    }
    return true;
  }

  bool KeepPicture(const Decoder& decoder) {
    mMedia.width = mFrame->width;
    mMedia.height = mFrame->height;
    mMedia.fps = mFps;
    mScaler = sws_getCachedContext(mScaler, mFrame->width, mFrame->height, static_cast<AVPixelFormat>(mFrame->format),
                                   mFrame->width, mFrame->height, AV_PIX_FMT_RGB24, SWS_POINT, nullptr, nullptr, nullptr);
    if (!mScaler) return false;
    DecodedPicture picture;
    picture.frame = av_rescale_q_rnd(mFrame->best_effort_timestamp, decoder.stream->time_base, {1, mFps}, AV_ROUND_NEAR_INF);
    picture.rgb.resize(static_cast<size_t>(mFrame->width) * mFrame->height * 3);
    uint8_t* planes[1] = {picture.rgb.data()};
    int strides[1] = {mFrame->width * 3};
    sws_scale(mScaler, mFrame->data, mFrame->linesize, 0, mFrame->height, planes, strides);
    mMedia.pictures.push_back(std::move(picture));
    return true;
  }

  bool KeepSound(const Decoder& decoder) {
    if (!mResampler) {
      mMedia.sampleRate = mFrame->sample_rate;
      mMedia.channels = mFrame->ch_layout.nb_channels;
      mMedia.firstSample = av_rescale_q_rnd(mFrame->best_effort_timestamp, decoder.stream->time_base,
                                            {1, mFrame->sample_rate}, AV_ROUND_NEAR_INF);
      if (swr_alloc_set_opts2(&mResampler, &mFrame->ch_layout, AV_SAMPLE_FMT_S16, mFrame->sample_rate, &mFrame->ch_layout,
                              static_cast<AVSampleFormat>(mFrame->format), mFrame->sample_rate, 0, nullptr) < 0 ||
          swr_init(mResampler) < 0) {
        return false;
      }
    }
    size_t at = mMedia.samples.size();
    mMedia.samples.resize(at + static_cast<size_t>(mFrame->nb_samples) * mMedia.channels);
    uint8_t* out[1] = {reinterpret_cast<uint8_t*>(mMedia.samples.data() + at)};
    int made = swr_convert(mResampler, out, mFrame->nb_samples, const_cast<const uint8_t**>(mFrame->extended_data),
                           mFrame->nb_samples);
    if (made < 0) return false;
    mMedia.samples.resize(at + static_cast<size_t>(made) * mMedia.channels);
    return true;
  }

  DecodedMedia& mMedia;
  int mFps;
  AVFormatContext* mFormat = nullptr;
  Decoder mVideo;
  Decoder mAudio;
  AVFrame* mFrame = nullptr;
  AVPacket* mPacket = nullptr;
  SwsContext* mScaler = nullptr;
  SwrContext* mResampler = nullptr;
};

}  // namespace

bool DecodeMedia(const std::string& path, int fps, DecodedMedia& media, std::string& error) {
  media = DecodedMedia{};
  av_log_set_level(AV_LOG_ERROR);
  MediaDecoder decoder(media, fps);
  return decoder.Run(path, error);
}
