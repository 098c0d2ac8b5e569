// torvane-tool sound: decodes a sound file the way the player reads it and writes the PCM.
#include <cerrno>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

#include "files/output_file.h"
#include "sound/ogg_vorbis_loader.h"
#include "sound/wave_loader.h"
#include "tools/json_writer.h"
#include "tools/tool_command.h"

namespace {

// A --loop run ends after the read that wrapped around; this many reads at most.
constexpr int SOUND_TOOL_MAX_LOOP_READS = 100000;

struct Decoder {
  std::unique_ptr<CSoundLoader> loader;
  const char* name = nullptr;
};

// The player's order: RIFF WAVE first, then Ogg Vorbis.
Decoder OpenDecoder(const std::string& file) {
  Decoder decoder{std::make_unique<WaveLoader>(), "wave"};
  if (decoder.loader->Open(file.c_str()) == SOUND_OK) return decoder;
  decoder = Decoder{std::make_unique<OggVorbisLoader>(), "ogg-vorbis"};
  if (decoder.loader->Open(file.c_str()) == SOUND_OK) return decoder;
  return Decoder{};
}

bool ParseCount(const std::string& text, long long& out) {
  char* end = nullptr;
  out = std::strtoll(text.c_str(), &end, 10);
  return !text.empty() && *end == '\0' && out >= 0;
}

void WriteFormat(JsonWriter& json, const WaveFormat& format) {
  json.Key("format").BeginObject();
  json.Key("formatTag").Integer(format.formatTag);
  json.Key("channels").Integer(format.channels);
  json.Key("samplesPerSecond").Integer(format.samplesPerSecond);
  json.Key("averageBytesPerSecond").Integer(format.averageBytesPerSecond);
  json.Key("blockAlign").Integer(format.blockAlign);
  json.Key("bitsPerSample").Integer(format.bitsPerSample);
  json.Key("extraSize").Integer(format.extraSize);
  json.EndObject();
}

bool Ended(int status) { return status != SOUND_OK; }

int RunSound(const std::vector<std::string>& args) {
  ToolArgs parsed;
  std::string error;
  if (!ParseToolArgs(args, {"--block", "--from", "--out"}, {"--loop"}, parsed, error)) {
    return ToolUsageError("sound", error);
  }
  if (parsed.positional.size() != 1) return ToolUsageError("sound", "expects one FILE");
  std::string out = parsed.Option("--out");
  if (out.empty()) return ToolUsageError("sound", "--out PCM is required");
  long long block = 0;
  long long from = SOUND_CURRENT_POSITION;
  if (!ParseCount(parsed.Option("--block", "0"), block) || block > UINT32_MAX) {
    return ToolUsageError("sound", "--block takes a byte count");
  }
  if (parsed.options.count("--from") && !ParseCount(parsed.Option("--from"), from)) {
    return ToolUsageError("sound", "--from takes a byte offset");
  }
  bool loop = parsed.Has("--loop");

  const std::string& file = parsed.positional[0];
  Decoder decoder = OpenDecoder(file);
  if (!decoder.loader) {
    std::fprintf(stderr, "torvane-tool sound: %s is neither a RIFF WAVE nor an Ogg Vorbis file it can read\n",
                 file.c_str());
    return 1;
  }
  if (!MakeFolderFor(out, error)) {
    std::fprintf(stderr, "torvane-tool sound: %s\n", error.c_str());
    return 1;
  }
  std::ofstream pcm(out, std::ios::binary);
  if (!pcm) {
    std::fprintf(stderr, "torvane-tool sound: %s\n", WriteFailure(out, errno).c_str());
    return 1;
  }

  WaveFormat format;
  decoder.loader->GetFormat(format);
  JsonWriter json;
  json.BeginObject().Key("file").String(file).Key("decoder").String(decoder.name);
  WriteFormat(json, format);
  json.Key("totalBytes").Integer(decoder.loader->GetSize());
  json.Key("lengthMs").Integer(decoder.loader->GetLengthMs());
  json.Key("block").Integer(block).Key("statuses").BeginArray();
  uint64_t written = 0;
  int64_t position = from;
  for (int reads = 0; reads < SOUND_TOOL_MAX_LOOP_READS; ++reads) {
    PcmBlock data;
    uint32_t before = decoder.loader->GetPosition();
    int status = decoder.loader->Read(data, position, static_cast<uint32_t>(block), loop);
    position = SOUND_CURRENT_POSITION;
    json.Integer(status);
    pcm.write(reinterpret_cast<const char*>(data.Data()), static_cast<std::streamsize>(data.Size()));
    written += data.Size();
    bool wrapped = loop && decoder.loader->GetPosition() < before + block;
    if (block == 0 || Ended(status) || wrapped) break;
  }
  json.EndArray().Key("bytesWritten").Integer(static_cast<int64_t>(written)).EndObject();
  std::printf("%s\n", json.Text().c_str());
  return pcm ? 0 : 1;
}

}  // namespace

TORVANE_TOOL_COMMAND(sound, "sound", "decode a WAV or Ogg Vorbis file to raw PCM as the player reads it",
                     "usage: torvane-tool sound FILE [--block BYTES] [--from BYTES] [--loop] --out PCM\n\n"
                     "Opens FILE with the decoders in the player's order (RIFF WAVE, then Ogg Vorbis) and\n"
                     "writes its PCM to PCM. With --block 0 (the default) the whole sound is read at once;\n"
                     "otherwise block after block until a read reports the end (status 7 or 8). --from\n"
                     "seeks the first read to a PCM byte offset. --loop reads past the end from the\n"
                     "beginning and stops after the read that wrapped around.\n\n"
                     "Prints JSON: \"decoder\", \"format\" (the 18-byte wave format record), \"totalBytes\",\n"
                     "\"lengthMs\", \"block\", \"statuses\" (each read's status: 1 sound, 2 read failed,\n"
                     "7 the end inside the block, 8 all silence) and \"bytesWritten\".\n"
                     "Exits 1 when FILE cannot be decoded, 2 on a usage error.\n",
                     RunSound);
