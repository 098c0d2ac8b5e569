#include "tools/capture/media_file_writer.h"

#include <algorithm>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/audio_fifo.h>
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include "tools/capture/container_check.h"
#include "tools/capture/ffmpeg_error.h"

namespace {

constexpr int AAC_BIT_RATE_PER_CHANNEL = 96000;
constexpr int OPUS_BIT_RATE_PER_CHANNEL = 80000;
constexpr int OPUS_SAMPLE_RATE = 48000;
constexpr int FFV1_SLICES = 4;
constexpr int DEFAULT_AUDIO_FRAME = 1024;

bool Supports(const AVPixelFormat* formats, AVPixelFormat wanted) {
  for (; formats && *formats != AV_PIX_FMT_NONE; ++formats) {
    if (*formats == wanted) return true;
  }
  return false;
}

// Lossless storage of RGB: the packed layout when the encoder takes it, else planar.
AVPixelFormat LosslessRgbFormat(const AVCodec* codec) {
  return Supports(codec->pix_fmts, AV_PIX_FMT_BGR0) ? AV_PIX_FMT_BGR0 : AV_PIX_FMT_GBRP;
}

AVSampleFormat SampleFormatFor(const AVCodec* codec) {
  const AVSampleFormat* formats = codec->sample_fmts;
  if (!formats) return AV_SAMPLE_FMT_S16;
  for (const AVSampleFormat* f = formats; *f != AV_SAMPLE_FMT_NONE; ++f) {
    if (*f == AV_SAMPLE_FMT_S16) return AV_SAMPLE_FMT_S16;
  }
  return formats[0];
}

}  // namespace

struct MediaFileWriter::State {
  AVFormatContext* format = nullptr;
  AVCodecContext* video = nullptr;
  AVStream* videoStream = nullptr;
  AVFrame* videoFrame = nullptr;
  SwsContext* scaler = nullptr;
  AVCodecContext* audio = nullptr;
  AVStream* audioStream = nullptr;
  AVFrame* audioFrame = nullptr;
  SwrContext* resampler = nullptr;
  AVAudioFifo* fifo = nullptr;
  AVPacket* packet = nullptr;
  int inputRate = 0;
  int audioFrameSize = DEFAULT_AUDIO_FRAME;
  int64_t nextAudioPts = AV_NOPTS_VALUE;  // in the encoder's samples

  ~State() {
    if (format && format->pb) avio_closep(&format->pb);
    avformat_free_context(format);
    avcodec_free_context(&video);
    avcodec_free_context(&audio);
    av_frame_free(&videoFrame);
    av_frame_free(&audioFrame);
    sws_freeContext(scaler);
    swr_free(&resampler);
    if (fifo) av_audio_fifo_free(fifo);
    av_packet_free(&packet);
  }

  bool OpenVideo(const VideoTrackSettings& settings, std::string& error);
  bool OpenAudio(const AudioTrackSettings& settings, std::string& error);
  const AVCodec* FindEncoder(const char* name, std::string& error) const;
  bool AddStream(AVCodecContext* codec, AVStream*& stream, std::string& error);
  bool Drain(AVCodecContext* codec, AVStream* stream, std::string& error);
  bool Send(AVCodecContext* codec, AVStream* stream, const AVFrame* frame, std::string& error);
  bool EncodeAudioFrames(bool flushing, std::string& error);
  bool CheckOutput(std::string& error) const;
};

MediaFileWriter::MediaFileWriter() = default;

MediaFileWriter::~MediaFileWriter() { Close(); }

const AVCodec* MediaFileWriter::State::FindEncoder(const char* name, std::string& error) const {
  const AVCodec* codec = avcodec_find_encoder_by_name(name);
  if (!codec) {
    error = std::string("this FFmpeg has no ") + name + " encoder";
    return nullptr;
  }
  return ContainerTakes(*format, codec->id, error) ? codec : nullptr;
}

bool MediaFileWriter::State::AddStream(AVCodecContext* codec, AVStream*& stream, std::string& error) {
  stream = avformat_new_stream(format, nullptr);
  if (!stream || avcodec_parameters_from_context(stream->codecpar, codec) < 0) {
    error = "cannot add a stream";
    return false;
  }
  stream->time_base = codec->time_base;
  return true;
}

bool MediaFileWriter::State::OpenVideo(const VideoTrackSettings& settings, std::string& error) {
  const AVCodec* codec = FindEncoder(VideoEncoderName(settings.codec), error);
  if (!codec) return false;
  bool h264 = settings.codec == VideoCodec::H264;
  if (h264 && (settings.width % 2 != 0 || settings.height % 2 != 0)) {
    error = "H.264 in 4:2:0 needs an even width and height";
    return false;
  }
  video = avcodec_alloc_context3(codec);
  video->width = settings.width;
  video->height = settings.height;
  video->time_base = {1, static_cast<int>(settings.fps)};
  video->framerate = {static_cast<int>(settings.fps), 1};
  video->thread_count = 0;
  if (h264) {
    video->pix_fmt = AV_PIX_FMT_YUV420P;
    // No B-frames: decoding order is then display order, so segments join without re-timing.
    video->max_b_frames = 0;
    av_opt_set(video->priv_data, "crf", std::to_string(settings.crf).c_str(), 0);
    av_opt_set(video->priv_data, "preset", "veryfast", 0);
    video->color_primaries = AVCOL_PRI_BT709;
    video->color_trc = AVCOL_TRC_BT709;
    video->colorspace = AVCOL_SPC_BT709;
    video->color_range = AVCOL_RANGE_MPEG;
  } else {
    video->pix_fmt = LosslessRgbFormat(codec);
    // Golomb-Rice coding takes some 40% less time than range coding for a sixth more bytes, so
    // that encoding keeps up with composing on the second core.
    av_opt_set(video->priv_data, "coder", "rice", 0);
    video->level = 3;
    video->gop_size = 1;
    video->slices = FFV1_SLICES;
    video->thread_type = FF_THREAD_SLICE;
  }
  if (format->oformat->flags & AVFMT_GLOBALHEADER) video->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  int status = avcodec_open2(video, codec, nullptr);
  if (status < 0) {
    error = std::string("the ") + codec->name + " encoder refused the settings: " + FfmpegErrorText(status);
    return false;
  }
  if (!AddStream(video, videoStream, error)) return false;
  videoStream->avg_frame_rate = video->framerate;
  videoFrame = av_frame_alloc();
  videoFrame->format = video->pix_fmt;
  videoFrame->width = settings.width;
  videoFrame->height = settings.height;
  if (av_frame_get_buffer(videoFrame, 0) < 0) {
    error = "out of memory for a video frame";
    return false;
  }
  // Packed RGB to packed RGB is a byte shuffle; to 4:2:0 the chroma is filtered.
  int flags = h264 ? SWS_BICUBIC | SWS_ACCURATE_RND | SWS_FULL_CHR_H_INP : SWS_POINT;
  scaler = sws_getContext(settings.width, settings.height, AV_PIX_FMT_RGBA, settings.width, settings.height,
                          video->pix_fmt, flags, nullptr, nullptr, nullptr);
  if (!scaler) {
    error = "no conversion from RGBA to the encoder's pixels";
    return false;
  }
  if (h264) {
    sws_setColorspaceDetails(scaler, sws_getCoefficients(SWS_CS_ITU709), 1, sws_getCoefficients(SWS_CS_ITU709), 0, 0,
                             1 << 16, 1 << 16);
  }
  return true;
}

bool MediaFileWriter::State::OpenAudio(const AudioTrackSettings& settings, std::string& error) {
  const AVCodec* codec = FindEncoder(AudioEncoderName(settings.codec), error);
  if (!codec) return false;
  audio = avcodec_alloc_context3(codec);
  inputRate = static_cast<int>(settings.sampleRate);
  bool opus = settings.codec == AudioCodec::Opus;
  audio->sample_rate = opus ? OPUS_SAMPLE_RATE : inputRate;
  audio->sample_fmt = SampleFormatFor(codec);
  av_channel_layout_default(&audio->ch_layout, settings.channels);
  audio->time_base = {1, audio->sample_rate};
  if (settings.codec == AudioCodec::Aac) audio->bit_rate = AAC_BIT_RATE_PER_CHANNEL * settings.channels;
  if (opus) audio->bit_rate = OPUS_BIT_RATE_PER_CHANNEL * settings.channels;
  if (format->oformat->flags & AVFMT_GLOBALHEADER) audio->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  int status = avcodec_open2(audio, codec, nullptr);
  if (status < 0) {
    error = std::string("the ") + codec->name + " encoder refused the sound: " + FfmpegErrorText(status);
    return false;
  }
  if (audio->frame_size > 0) audioFrameSize = audio->frame_size;
  if (!AddStream(audio, audioStream, error)) return false;
  AVChannelLayout inputLayout;
  av_channel_layout_default(&inputLayout, settings.channels);
  status = swr_alloc_set_opts2(&resampler, &audio->ch_layout, audio->sample_fmt, audio->sample_rate, &inputLayout,
                               AV_SAMPLE_FMT_S16, inputRate, 0, nullptr);
  if (status < 0 || swr_init(resampler) < 0) {
    error = "no conversion from 16-bit PCM to the encoder's samples";
    return false;
  }
  fifo = av_audio_fifo_alloc(audio->sample_fmt, settings.channels, audioFrameSize * 4);
  audioFrame = av_frame_alloc();
  if (!fifo || !audioFrame) {
    error = "out of memory for the sound";
    return false;
  }
  return true;
}

bool MediaFileWriter::Open(const std::string& path, const std::string& nameForFormat, const VideoTrackSettings& video,
                           const AudioTrackSettings* audio, std::string& error) {
  Close();
  mState = std::make_unique<State>();
  State& s = *mState;
  const AVOutputFormat* container = av_guess_format(nullptr, nameForFormat.c_str(), nullptr);
  if (!container) {
    error = "no container is known for the name " + nameForFormat + " (use .mp4, .mkv, .mov or .nut)";
    return false;
  }
  if (avformat_alloc_output_context2(&s.format, container, nullptr, path.c_str()) < 0) {
    error = "cannot set up the container";
    return false;
  }
  s.packet = av_packet_alloc();
  if (!s.OpenVideo(video, error)) return false;
  if (audio && !s.OpenAudio(*audio, error)) return false;
  int status = avio_open(&s.format->pb, path.c_str(), AVIO_FLAG_WRITE);
  if (status < 0) {
    error = "cannot write " + path + ": " + FfmpegErrorText(status);
    return false;
  }
  AVDictionary* options = nullptr;
  if (std::string(container->name).find("mp4") != std::string::npos) av_dict_set(&options, "movflags", "+faststart", 0);
  // The encoder's priming (AAC, Opus) sits before frame 0; shifting every stream to hide it
  // would move the first frame off time 0.
  s.format->avoid_negative_ts = AVFMT_AVOID_NEG_TS_DISABLED;
  status = avformat_write_header(s.format, &options);
  av_dict_free(&options);
  if (status < 0) {
    error = "cannot write the container's header: " + FfmpegErrorText(status);
    return false;
  }
  return s.CheckOutput(error);
}

bool MediaFileWriter::State::CheckOutput(std::string& error) const {
  if (format->pb && format->pb->error < 0) {
    error = "writing failed: " + FfmpegErrorText(format->pb->error);
    return false;
  }
  return true;
}

bool MediaFileWriter::State::Drain(AVCodecContext* codec, AVStream* stream, std::string& error) {
  for (;;) {
    int status = avcodec_receive_packet(codec, packet);
    if (status == AVERROR(EAGAIN) || status == AVERROR_EOF) return CheckOutput(error);
    if (status < 0) {
      error = std::string("the ") + codec->codec->name + " encoder failed: " + FfmpegErrorText(status);
      return false;
    }
    av_packet_rescale_ts(packet, codec->time_base, stream->time_base);
    packet->stream_index = stream->index;
    status = av_interleaved_write_frame(format, packet);
    if (status < 0) {
      error = "writing failed: " + FfmpegErrorText(status);
      return false;
    }
  }
}

bool MediaFileWriter::State::Send(AVCodecContext* codec, AVStream* stream, const AVFrame* frame, std::string& error) {
  int status = avcodec_send_frame(codec, frame);
  if (status < 0 && status != AVERROR_EOF) {
    error = std::string("the ") + codec->codec->name + " encoder failed: " + FfmpegErrorText(status);
    return false;
  }
  return Drain(codec, stream, error);
}

bool MediaFileWriter::WriteVideo(const uint8_t* rgbaBottomFirst, int64_t frame, std::string& error) {
  State& s = *mState;
  if (av_frame_make_writable(s.videoFrame) < 0) {
    error = "out of memory for a video frame";
    return false;
  }
  // A negative stride from the last row turns the bottom-up picture upright on the way.
  int stride = s.video->width * 4;
  const uint8_t* source[1] = {rgbaBottomFirst + static_cast<size_t>(s.video->height - 1) * stride};
  const int strides[1] = {-stride};
  sws_scale(s.scaler, source, strides, 0, s.video->height, s.videoFrame->data, s.videoFrame->linesize);
  s.videoFrame->pts = frame;
  return s.Send(s.video, s.videoStream, s.videoFrame, error);
}

bool MediaFileWriter::State::EncodeAudioFrames(bool flushing, std::string& error) {
  int channels = audio->ch_layout.nb_channels;
  while (av_audio_fifo_size(fifo) >= audioFrameSize || (flushing && av_audio_fifo_size(fifo) > 0)) {
    int count = std::min(av_audio_fifo_size(fifo), audioFrameSize);
    bool padded = count < audioFrameSize && !(audio->codec->capabilities & AV_CODEC_CAP_SMALL_LAST_FRAME) &&
                  !(audio->codec->capabilities & AV_CODEC_CAP_VARIABLE_FRAME_SIZE);
    av_frame_unref(audioFrame);
    audioFrame->nb_samples = padded ? audioFrameSize : count;
    audioFrame->format = audio->sample_fmt;
    av_channel_layout_copy(&audioFrame->ch_layout, &audio->ch_layout);
    audioFrame->sample_rate = audio->sample_rate;
    if (av_frame_get_buffer(audioFrame, 0) < 0) {
      error = "out of memory for the sound";
      return false;
    }
    if (padded) av_samples_set_silence(audioFrame->data, 0, audioFrameSize, channels, audio->sample_fmt);
    av_audio_fifo_read(fifo, reinterpret_cast<void**>(audioFrame->data), count);
    audioFrame->pts = nextAudioPts;
    nextAudioPts += count;
    if (!Send(audio, audioStream, audioFrame, error)) return false;
  }
  return true;
}

bool MediaFileWriter::WriteAudio(const int16_t* samples, int64_t count, int64_t firstSample, std::string& error) {
  State& s = *mState;
  if (!s.audio) return true;
  if (s.nextAudioPts == AV_NOPTS_VALUE) s.nextAudioPts = av_rescale(firstSample, s.audio->sample_rate, s.inputRate);
  int channels = s.audio->ch_layout.nb_channels;
  while (count > 0) {
    int chunk = static_cast<int>(std::min<int64_t>(count, s.audioFrameSize * 4));
    int room = swr_get_out_samples(s.resampler, chunk);
    uint8_t** converted = nullptr;
    if (av_samples_alloc_array_and_samples(&converted, nullptr, channels, room, s.audio->sample_fmt, 0) < 0) {
      error = "out of memory for the sound";
      return false;
    }
    const uint8_t* input[1] = {reinterpret_cast<const uint8_t*>(samples)};
    int made = swr_convert(s.resampler, converted, room, input, chunk);
    bool stored = made >= 0 && av_audio_fifo_write(s.fifo, reinterpret_cast<void**>(converted), made) == made;
    av_freep(&converted[0]);
    av_freep(&converted);
    if (!stored) {
      error = "the sound could not be converted";
      return false;
    }
    samples += static_cast<size_t>(chunk) * channels;
    count -= chunk;
    if (!s.EncodeAudioFrames(false, error)) return false;
  }
  return true;
}

bool MediaFileWriter::Finish(std::string& error) {
  State& s = *mState;
  if (s.audio) {
    // What the resampler still holds (Opus), then the last short frame.
    int channels = s.audio->ch_layout.nb_channels;
    int room = swr_get_out_samples(s.resampler, 0);
    if (room > 0) {
      uint8_t** converted = nullptr;
      if (av_samples_alloc_array_and_samples(&converted, nullptr, channels, room, s.audio->sample_fmt, 0) >= 0) {
        int made = swr_convert(s.resampler, converted, room, nullptr, 0);
        if (made > 0) av_audio_fifo_write(s.fifo, reinterpret_cast<void**>(converted), made);
        av_freep(&converted[0]);
        av_freep(&converted);
      }
    }
    if (s.nextAudioPts == AV_NOPTS_VALUE) s.nextAudioPts = 0;
    if (!s.EncodeAudioFrames(true, error) || !s.Send(s.audio, s.audioStream, nullptr, error)) return false;
  }
  if (!s.Send(s.video, s.videoStream, nullptr, error)) return false;
  int status = av_write_trailer(s.format);
  if (status < 0) {
    error = "cannot finish the file: " + FfmpegErrorText(status);
    return false;
  }
  if (!s.CheckOutput(error)) return false;
  status = avio_closep(&s.format->pb);
  if (status < 0) {
    error = "cannot finish the file: " + FfmpegErrorText(status);
    return false;
  }
  mState.reset();
  return true;
}

void MediaFileWriter::Close() { mState.reset(); }
