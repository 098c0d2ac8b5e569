#include "sound/ogg_vorbis_writer.h"

#include <algorithm>

#include <vorbis/vorbisenc.h>

namespace {

constexpr size_t ENCODE_CHUNK_FRAMES = 4096;

void AppendPage(const ogg_page& page, std::vector<uint8_t>& out) {
  out.insert(out.end(), page.header, page.header + page.header_len);
  out.insert(out.end(), page.body, page.body + page.body_len);
}

struct Encoder {
  vorbis_info info;
  vorbis_comment comment;
  vorbis_dsp_state dsp;
  vorbis_block block;
  ogg_stream_state stream;
  bool started = false;

  Encoder() {
    vorbis_info_init(&info);
    vorbis_comment_init(&comment);
  }
  ~Encoder() {
    if (started) {
      ogg_stream_clear(&stream);
      vorbis_block_clear(&block);
      vorbis_dsp_clear(&dsp);
    }
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
  }

  bool Start(int channels, int samplesPerSecond, float quality, std::vector<uint8_t>& out) {
    if (vorbis_encode_init_vbr(&info, channels, samplesPerSecond, quality) != 0) return false;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block_init(&dsp, &block);
    ogg_stream_init(&stream, 1);
    started = true;
    ogg_packet identification, comments, codebooks;
    vorbis_analysis_headerout(&dsp, &comment, &identification, &comments, &codebooks);
    ogg_stream_packetin(&stream, &identification);
    ogg_stream_packetin(&stream, &comments);
    ogg_stream_packetin(&stream, &codebooks);
    ogg_page page;
    while (ogg_stream_flush(&stream, &page) != 0) AppendPage(page, out);
    return true;
  }

  void Feed(const int16_t* samples, size_t frames, int channels) {
    float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(frames));
    for (size_t i = 0; i < frames; ++i) {
      for (int c = 0; c < channels; ++c) buffer[c][i] = samples[i * channels + c] / 32768.0f;
    }
    vorbis_analysis_wrote(&dsp, static_cast<int>(frames));
  }

  // Pages out what is ready; the last call flushes the final page too.
  void Drain(bool last, std::vector<uint8_t>& out) {
    ogg_packet packet;
    ogg_page page;
    while (vorbis_analysis_blockout(&dsp, &block) == 1) {
      vorbis_analysis(&block, nullptr);
      vorbis_bitrate_addblock(&block);
      while (vorbis_bitrate_flushpacket(&dsp, &packet) != 0) {
        ogg_stream_packetin(&stream, &packet);
        while (ogg_stream_pageout(&stream, &page) != 0) AppendPage(page, out);
      }
    }
    while (last && ogg_stream_flush(&stream, &page) != 0) AppendPage(page, out);
  }
};

}  // namespace

bool EncodeOggVorbis(const int16_t* samples, size_t frames, int channels, int samplesPerSecond, float quality,
                     std::vector<uint8_t>& out) {
  out.clear();
  Encoder encoder;
  if (channels <= 0 || !encoder.Start(channels, samplesPerSecond, quality, out)) return false;
  for (size_t done = 0; done < frames;) {
    size_t count = std::min(ENCODE_CHUNK_FRAMES, frames - done);
    encoder.Feed(samples + done * channels, count, channels);
    encoder.Drain(false, out);
    done += count;
  }
  vorbis_analysis_wrote(&encoder.dsp, 0);
  encoder.Drain(true, out);
  return true;
}
