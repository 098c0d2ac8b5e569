#include "tools/synth/ogg_encoder.h"

#include <algorithm>

#include <vorbis/vorbisenc.h>

namespace {

constexpr int ENCODE_BLOCK_FRAMES = 4096;

void AppendPage(const ogg_page& page, std::vector<uint8_t>& out) {
  out.insert(out.end(), page.header, page.header + page.header_len);
  out.insert(out.end(), page.body, page.body + page.body_len);
}

// Moves every finished packet of the analysis into the stream and every full page into out.
void DrainEncoder(vorbis_dsp_state& dsp, vorbis_block& block, ogg_stream_state& stream, std::vector<uint8_t>& out) {
  ogg_packet packet;
  ogg_page page;
  while (vorbis_analysis_blockout(&dsp, &block) == 1) {
    vorbis_analysis(&block, nullptr);
    vorbis_bitrate_addblock(&block);
    while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
      ogg_stream_packetin(&stream, &packet);
      while (ogg_stream_pageout(&stream, &page)) AppendPage(page, out);
    }
  }
}

}  // namespace

bool EncodeOggVorbis(const std::vector<int16_t>& samples, int sampleRate, int channels, float quality,
                     std::vector<uint8_t>& out, std::string& error) {
  vorbis_info info;
  vorbis_info_init(&info);
  if (channels <= 0 || vorbis_encode_init_vbr(&info, channels, sampleRate, quality) != 0) {
    vorbis_info_clear(&info);
    error = "the Vorbis encoder refuses these settings";
    return false;
  }
  vorbis_comment comment;
  vorbis_comment_init(&comment);
  vorbis_comment_add_tag(&comment, "ENCODER", "torvane-tool synth");
  vorbis_dsp_state dsp;
  vorbis_block block;
  vorbis_analysis_init(&dsp, &info);
  vorbis_block_init(&dsp, &block);
  ogg_stream_state stream;
  // A fixed serial number keeps the build's output byte for byte reproducible.
  ogg_stream_init(&stream, 0x7072766e);

  ogg_packet header, headerComment, headerCode;
  vorbis_analysis_headerout(&dsp, &comment, &header, &headerComment, &headerCode);
  ogg_stream_packetin(&stream, &header);
  ogg_stream_packetin(&stream, &headerComment);
  ogg_stream_packetin(&stream, &headerCode);
  ogg_page page;
  while (ogg_stream_flush(&stream, &page)) AppendPage(page, out);

  size_t frames = samples.size() / static_cast<size_t>(channels);
  for (size_t first = 0; first < frames; first += ENCODE_BLOCK_FRAMES) {
    int count = static_cast<int>(std::min<size_t>(ENCODE_BLOCK_FRAMES, frames - first));
    float** buffer = vorbis_analysis_buffer(&dsp, count);
    for (int i = 0; i < count; ++i) {
      for (int c = 0; c < channels; ++c) buffer[c][i] = samples[(first + i) * channels + c] / 32768.0f;
    }
    vorbis_analysis_wrote(&dsp, count);
    DrainEncoder(dsp, block, stream, out);
  }
  vorbis_analysis_wrote(&dsp, 0);
  DrainEncoder(dsp, block, stream, out);
  while (ogg_stream_flush(&stream, &page)) AppendPage(page, out);

  ogg_stream_clear(&stream);
  vorbis_block_clear(&block);
  vorbis_dsp_clear(&dsp);
  vorbis_comment_clear(&comment);
  vorbis_info_clear(&info);
  return true;
}
