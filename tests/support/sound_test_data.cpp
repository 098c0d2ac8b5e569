#include "tests/support/sound_test_data.h"

#include <cmath>
#include <cstring>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <gtest/gtest.h>

#include "tools/synth/ogg_encoder.h"

void AppendU16(Bytes& out, uint16_t value) {
  out.push_back(static_cast<uint8_t>(value));
  out.push_back(static_cast<uint8_t>(value >> 8));
}

void AppendU32(Bytes& out, uint32_t value) {
  AppendU16(out, static_cast<uint16_t>(value));
  AppendU16(out, static_cast<uint16_t>(value >> 16));
}

void AppendChunk(Bytes& out, const char id[4], const Bytes& contents) {
  out.insert(out.end(), id, id + 4);
  AppendU32(out, static_cast<uint32_t>(contents.size()));
  out.insert(out.end(), contents.begin(), contents.end());
  if (contents.size() & 1) out.push_back(0);
}

Bytes MakeWave(const WaveFormat& format, const Bytes& pcm, uint32_t fmtBytes) {
  Bytes fmt;
  AppendU16(fmt, format.formatTag);
  AppendU16(fmt, format.channels);
  AppendU32(fmt, format.samplesPerSecond);
  AppendU32(fmt, format.averageBytesPerSecond);
  AppendU16(fmt, format.blockAlign);
  AppendU16(fmt, format.bitsPerSample);
  if (fmtBytes > 16) AppendU16(fmt, format.extraSize);
  fmt.resize(fmtBytes, 0);
  Bytes body = {'W', 'A', 'V', 'E'};
  AppendChunk(body, "fmt ", fmt);
  AppendChunk(body, "data", pcm);
  Bytes file;
  AppendChunk(file, "RIFF", body);
  return file;
}

std::vector<int16_t> TestMusic(size_t frames, int channels, int samplesPerSecond) {
  std::vector<int16_t> samples(frames * channels);
  for (size_t i = 0; i < frames; ++i) {
    double t = static_cast<double>(i) / samplesPerSecond;
    for (int c = 0; c < channels; ++c) {
      double tone = 0.35 * std::sin(2 * M_PI * (220.0 + 110.0 * c) * t + 0.7) +
                    0.25 * std::sin(2 * M_PI * 587.0 * t * (1.0 + 0.1 * std::sin(t))) + 0.3;
      samples[i * channels + c] = static_cast<int16_t>(std::lround(tone * 20000.0));
    }
  }
  return samples;
}

Bytes SamplesAsBytes(const std::vector<int16_t>& samples) {
  Bytes bytes;
  bytes.reserve(samples.size() * 2);
  for (int16_t sample : samples) AppendU16(bytes, static_cast<uint16_t>(sample));
  return bytes;
}

Bytes CountingPcm(size_t bytes) {
  Bytes pcm(bytes);
  for (size_t i = 0; i < bytes; ++i) pcm[i] = static_cast<uint8_t>(i * 7 + i / 251);
  return pcm;
}

bool SameBytes(const uint8_t* data, size_t dataFrom, const Bytes& pcm, size_t pcmFrom, size_t bytes) {
  return std::memcmp(data + dataFrom, pcm.data() + pcmFrom, bytes) == 0;
}

bool AllBytesAre(const uint8_t* data, size_t from, size_t bytes, uint8_t value) {
  for (size_t i = from; i < from + bytes; ++i) {
    if (data[i] != value) return false;
  }
  return true;
}

Bytes TestOggVorbis(double seconds, int channels, int samplesPerSecond) {
  size_t frames = static_cast<size_t>(std::lround(seconds * samplesPerSecond));
  std::vector<int16_t> music = TestMusic(frames, channels, samplesPerSecond);
  Bytes ogg;
  std::string error;
  EXPECT_TRUE(EncodeOggVorbis(music, samplesPerSecond, channels, 0.3f, ogg, error)) << error;
  return ogg;
}

std::string ScratchFolder() {
  // Never destroyed, so the exit handler that removes the folder can still name it.
  static const std::string* folder = [] {
    std::string pattern = (std::filesystem::temp_directory_path() / "torvane-sound-XXXXXX").string();
    auto* made = new std::string(mkdtemp(pattern.data()) ? pattern : std::string());
    std::atexit([] { std::filesystem::remove_all(ScratchFolder()); });
    return made;
  }();
  return *folder;
}

std::string WriteScratchFile(const std::string& name, const Bytes& bytes) {
  std::string path = ScratchFolder() + "/" + name;
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return path;
}

Bytes ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}
