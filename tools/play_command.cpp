// torvane-tool play: plays a music file through the demo's player to its end.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "platform/timer.h"
#include "sound/sound_player.h"
#include "tools/json_writer.h"
#include "tools/tool_command.h"

namespace {

// How often the tool asks whether the music still plays.
constexpr std::chrono::milliseconds PLAY_TOOL_POLL{1};

int RunPlay(const std::vector<std::string>& args) {
  ToolArgs parsed;
  std::string error;
  if (!ParseToolArgs(args, {"--from"}, {}, parsed, error)) return ToolUsageError("play", error);
  if (parsed.positional.size() != 1) return ToolUsageError("play", "expects one FILE");
  char* end = nullptr;
  std::string fromText = parsed.Option("--from", "0");
  unsigned long from = std::strtoul(fromText.c_str(), &end, 10);
  if (*end != '\0' || fromText[0] == '-' || from > UINT32_MAX) return ToolUsageError("play", "--from takes milliseconds");

  const std::string& file = parsed.positional[0];
  SoundPlayer player;
  int result = player.InitDirectSound();
  if (result == PLAYER_OK) result = player.OpenMusic(file.c_str());
  if (result != PLAYER_OK) {
    if (player.Failure()) RaiseAlert("sound", *player.Failure());
    std::fprintf(stderr, "torvane-tool play: cannot play %s (result %d)\n", file.c_str(), result);
    return 1;
  }
  uint32_t origin = platform::TimeGetTime();
  player.PlayFrom(static_cast<uint32_t>(from));
  uint32_t started = platform::TimeGetTime() - origin;
  while (player.IsPlaying()) std::this_thread::sleep_for(PLAY_TOOL_POLL);
  uint32_t stopped = platform::TimeGetTime() - origin;

  WaveFormat format = player.Format();
  JsonWriter json;
  json.BeginObject().Key("file").String(file);
  json.Key("mode").String(player.IsStreaming() ? "streaming" : "static");
  json.Key("segmentBytes").Integer(player.SegmentBytes());
  json.Key("channels").Integer(format.channels).Key("samplesPerSecond").Integer(format.samplesPerSecond);
  json.Key("fromMs").Integer(static_cast<int64_t>(from));
  json.Key("startedMs").Integer(started).Key("stoppedMs").Integer(stopped).EndObject();
  std::printf("%s\n", json.Text().c_str());
  player.Close();
  return 0;
}

}  // namespace

TORVANE_TOOL_COMMAND(play, "play", "play a music file through the demo's player to its end",
                     "usage: torvane-tool play FILE [--from MS]\n\n"
                     "Opens FILE as the demo opens \"music.ogg\" (RIFF WAVE or Ogg Vorbis; under 1 MiB of PCM\n"
                     "from one static buffer, else streamed by the player's worker thread), plays it from\n"
                     "MS milliseconds (default 0) on the audio output and waits until it stops.\n\n"
                     "Prints JSON: \"mode\" (\"static\" or \"streaming\"), \"segmentBytes\", the format, and\n"
                     "\"startedMs\" / \"stoppedMs\": when playing started and when the player stopped\n"
                     "reporting that it plays, in milliseconds since the music was opened.\n"
                     "SDL_AUDIODRIVER chooses the output (e.g. \"disk\" records it to SDL_DISKAUDIOFILE).\n"
                     "Exits 1 when the output or the file cannot be opened, 2 on a usage error.\n",
                     RunPlay);
