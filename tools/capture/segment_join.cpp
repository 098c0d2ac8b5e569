#include "tools/capture/segment_join.h"

#include <algorithm>
#include <cstdlib>
#include <memory>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include "tools/capture/capture_timing.h"
#include "tools/capture/container_check.h"
#include "tools/capture/ffmpeg_error.h"
#include "tools/capture/segment_reader.h"
#include "tools/capture/temporary_output.h"

namespace {

constexpr size_t FLAC_STREAMINFO_BYTES = 34;
constexpr size_t FLAC_MARKER_AND_HEADER_BYTES = 8;

struct Segment {
  std::string path;
  SegmentSummary summary;
};

// Sound timestamps of a container with millisecond times may be off by half a millisecond.
int64_t SampleTolerance(int sampleRate) { return sampleRate / 1000 + 1; }

bool Fail(const std::string& path, const std::string& message, std::string& error) {
  error = path + ": " + message;
  return false;
}

bool CheckAlike(const Segment& first, const Segment& other, std::string& error) {
  const SegmentSummary& a = first.summary;
  const SegmentSummary& b = other.summary;
  if (a.videoFormat != b.videoFormat) {
    return Fail(other.path, "video is " + b.videoFormat + ", unlike " + first.path + "'s " + a.videoFormat, error);
  }
  if (a.videoSetup != b.videoSetup) {
    return Fail(other.path, "video is encoded with other settings than " + first.path + "'s", error);
  }
  if (a.hasAudio != b.hasAudio || a.audioFormat != b.audioFormat) {
    std::string mine = b.hasAudio ? b.audioFormat : "no sound";
    std::string theirs = a.hasAudio ? a.audioFormat : "no sound";
    return Fail(other.path, "has " + mine + ", unlike " + first.path + "'s " + theirs, error);
  }
  return true;
}

// A capture's sound starts with its first frame, so segments whose frames follow each other have
// sound that does too.
bool CheckSoundStart(const Segment& segment, std::string& error) {
  const SegmentSummary& s = segment.summary;
  if (!s.hasAudio || s.audioHasPriming) return true;
  int64_t expected = FirstSampleOfFrame(s.firstFrame, static_cast<uint32_t>(s.sampleRate), s.fps);
  if (std::llabs(s.firstSample - expected) <= SampleTolerance(s.sampleRate)) return true;
  return Fail(segment.path, "sound starts at sample " + std::to_string(s.firstSample) + ", not with frame " +
                                std::to_string(s.firstFrame) + " at sample " + std::to_string(expected),
              error);
}

// In frame order, each segment must start where the one before ends.
bool CheckSequence(const std::vector<Segment>& segments, std::string& error) {
  if (!CheckSoundStart(segments.front(), error)) return false;
  for (size_t i = 1; i < segments.size(); ++i) {
    const Segment& before = segments[i - 1];
    const Segment& after = segments[i];
    int64_t expected = before.summary.firstFrame + before.summary.frameCount;
    int64_t start = after.summary.firstFrame;
    if (start > expected) {
      return Fail(after.path, "starts at frame " + std::to_string(start) + ", so frames " + std::to_string(expected) +
                                  " to " + std::to_string(start - 1) + " after " + before.path + " are missing",
                  error);
    }
    if (start < expected) {
      return Fail(after.path, "starts at frame " + std::to_string(start) + ", inside " + before.path +
                                  " (which ends at frame " + std::to_string(expected - 1) + ")",
                  error);
    }
    if (!CheckSoundStart(after, error)) return false;
  }
  return true;
}

// A joined FLAC stream keeps the first segment's stream description with what only held for
// that segment (frame sizes, length, checksum) marked unknown, as the format allows.
void DescribeWholeFlac(AVCodecParameters& parameters) {
  uint8_t* bytes = parameters.extradata;
  size_t size = static_cast<size_t>(parameters.extradata_size);
  if (size >= FLAC_MARKER_AND_HEADER_BYTES + FLAC_STREAMINFO_BYTES && std::equal(bytes, bytes + 4, "fLaC")) {
    std::copy_n(bytes + FLAC_MARKER_AND_HEADER_BYTES, FLAC_STREAMINFO_BYTES, bytes);
    size = FLAC_STREAMINFO_BYTES;
  }
  if (size < FLAC_STREAMINFO_BYTES) return;
  parameters.extradata_size = static_cast<int>(FLAC_STREAMINFO_BYTES);
  std::fill(bytes + 4, bytes + 10, 0);  // smallest and largest frame
  bytes[13] &= 0xF0;                    // length in samples: top bits
  std::fill(bytes + 14, bytes + 34, 0);  // length in samples, checksum
}

class JoinedFile {
 public:
  ~JoinedFile() {
    if (mFormat && mFormat->pb) avio_closep(&mFormat->pb);
    avformat_free_context(mFormat);
  }

  bool Open(const std::string& path, const std::string& finalName, SegmentReader& first, std::string& error) {
    const AVOutputFormat* container = av_guess_format(nullptr, finalName.c_str(), nullptr);
    if (!container || avformat_alloc_output_context2(&mFormat, container, nullptr, path.c_str()) < 0) {
      error = "no container is known for the name " + finalName;
      return false;
    }
    for (AVStream* input : {first.VideoStream(), first.AudioStream()}) {
      if (!input) continue;
      AVCodecID codec = input->codecpar->codec_id;
      if (!ContainerTakes(*mFormat, codec, error)) return false;
      AVStream* output = avformat_new_stream(mFormat, nullptr);
      if (!output || avcodec_parameters_copy(output->codecpar, input->codecpar) < 0) {
        error = "cannot add a stream";
        return false;
      }
      output->codecpar->codec_tag = 0;
      output->time_base = input->time_base;
      output->avg_frame_rate = input->avg_frame_rate;
      if (codec == AV_CODEC_ID_FLAC) DescribeWholeFlac(*output->codecpar);
    }
    int status = avio_open(&mFormat->pb, path.c_str(), AVIO_FLAG_WRITE);
    if (status >= 0) status = avformat_write_header(mFormat, nullptr);
    if (status < 0) {
      error = "cannot write " + finalName + ": " + FfmpegErrorText(status);
      return false;
    }
    return true;
  }

  // Copies every packet of the segment, the video to stream 0 and the sound to stream 1.
  bool Append(SegmentReader& segment, std::string& error) {
    AVPacket* packet = av_packet_alloc();
    bool written = true;
    while (written && segment.ReadPacket(packet)) {
      bool isVideo = packet->stream_index == segment.VideoStream()->index;
      AVStream* input = isVideo ? segment.VideoStream() : segment.AudioStream();
      AVStream* output = mFormat->streams[isVideo ? 0 : 1];
      av_packet_rescale_ts(packet, input->time_base, output->time_base);
      packet->stream_index = output->index;
      packet->pos = -1;
      int status = av_interleaved_write_frame(mFormat, packet);
      if (status < 0) {
        error = "writing failed: " + FfmpegErrorText(status);
        written = false;
      }
      av_packet_unref(packet);
    }
    av_packet_free(&packet);
    return written;
  }

  bool Finish(std::string& error) {
    int status = av_write_trailer(mFormat);
    if (status >= 0 && mFormat->pb->error < 0) status = mFormat->pb->error;
    int closed = avio_closep(&mFormat->pb);
    if (status < 0 || closed < 0) {
      error = "cannot finish the file: " + FfmpegErrorText(status < 0 ? status : closed);
      return false;
    }
    return true;
  }

 private:
  AVFormatContext* mFormat = nullptr;
};

}  // namespace

bool JoinSegments(const std::string& outPath, const std::vector<std::string>& segmentPaths, std::string& error) {
  QuietFfmpegLog();
  std::vector<Segment> segments;
  for (const std::string& path : segmentPaths) {
    SegmentReader reader;
    Segment segment{path, {}};
    std::string problem;
    if (!reader.Open(path, problem) || !reader.Scan(segment.summary, problem)) return Fail(path, problem, error);
    if (!segments.empty() && !CheckAlike(segments.front(), segment, error)) return false;
    segments.push_back(segment);
  }
  if (segments.empty()) {
    error = "no segment to join";
    return false;
  }
  if (segments.size() > 1 && segments.front().summary.audioHasPriming) {
    return Fail(segments.front().path,
                segments.front().summary.audioCodec +
                    " sound starts every segment with encoder priming and cannot be joined sample for sample; "
                    "capture the segments with --audio flac",
                error);
  }
  std::stable_sort(segments.begin(), segments.end(),
                   [](const Segment& a, const Segment& b) { return a.summary.firstFrame < b.summary.firstFrame; });
  if (!CheckSequence(segments, error)) return false;

  TemporaryOutput output;
  if (!output.Prepare(outPath, false, error)) return false;
  JoinedFile joined;
  SegmentReader first;
  if (!first.Open(segments.front().path, error) || !joined.Open(output.Path(), outPath, first, error)) return false;
  for (const Segment& segment : segments) {
    SegmentReader reader;
    if (!reader.Open(segment.path, error) || !joined.Append(reader, error)) return false;
  }
  return joined.Finish(error) && output.Commit(error);
}
