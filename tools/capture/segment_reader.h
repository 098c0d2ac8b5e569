#pragma once
// Reads a capture segment (any file the capture writes) through FFmpeg's demuxers: its streams,
// its frame rate, and where its frames and sound samples sit in the whole capture, checked packet
// by packet. A file from elsewhere is outside data: anything that does not add up is an error.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct AVFormatContext;
struct AVPacket;
struct AVStream;

struct SegmentSummary {
  uint32_t fps = 0;
  int64_t firstFrame = 0;
  int64_t frameCount = 0;
  bool hasAudio = false;
  int sampleRate = 0;
  int64_t firstSample = 0;  // music sample number of the first sample
  // What must match between segments joined together: codecs and their set-up.
  std::string videoFormat;
  std::vector<uint8_t> videoSetup;  // the decoder's set-up (parameter sets)
  std::string audioFormat;
  std::string audioCodec;
  bool audioHasPriming = false;  // the encoder delays its sound (AAC, Opus)
};

class SegmentReader {
 public:
  SegmentReader();
  ~SegmentReader();
  SegmentReader(const SegmentReader&) = delete;
  SegmentReader& operator=(const SegmentReader&) = delete;

  // Opens a file, or bytes in memory (which must outlive the reader). False with error set when
  // FFmpeg cannot read it or it is not one video stream and at most one sound stream.
  bool Open(const std::string& path, std::string& error);
  bool OpenMemory(const uint8_t* data, size_t size, std::string& error);
  // Reads every packet and sums them up. False with error set when a frame is missing inside the
  // segment or the timing does not make sense.
  bool Scan(SegmentSummary& summary, std::string& error);

  // For copying: the next packet (false at the end), and the streams.
  bool ReadPacket(AVPacket* packet);
  AVStream* VideoStream() const;
  AVStream* AudioStream() const;

 private:
  bool FindStreams(std::string& error);
  void Close();

  AVFormatContext* mFormat = nullptr;
  int mVideo = -1;
  int mAudio = -1;
  struct Memory;
  std::unique_ptr<Memory> mMemory;
};
