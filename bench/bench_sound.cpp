// Sound benchmarks.
//   Decode: OggVorbisLoader reading 0.25-second blocks, and `oggdec -R` decoding the same file,
//   both timed by the wall clock in one run (goal: the loader at least 0.95 of oggdec's speed).
//   Stream: the player's worker thread streaming a 3-minute file on the dummy audio driver; its
//   CPU time as a share of one core (goal: at most 2%). It runs in real time, for
//   TORVANE_BENCH_STREAM_SECONDS (default 30) seconds of the music.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include <benchmark/benchmark.h>

#include "sound/ogg_vorbis_loader.h"
#include "sound/sound_player.h"

namespace {

constexpr int BENCH_RATE = 44100;
constexpr uint32_t QUARTER_SECOND = 44100;  // bytes of 0.25 s at 44.1 HZ, 16-bit stereo
constexpr int DECODE_SECONDS = 60;
constexpr int STREAM_FILE_SECONDS = 180;

std::filesystem::path BenchFolder() {
  // Never destroyed, so the exit handler that removes the folder can still name it.
  static const std::filesystem::path* folder = [] {
    auto* made = new std::filesystem::path(std::filesystem::temp_directory_path() /
                                           ("torvane-bench-sound-" + std::to_string(getpid())));
    std::filesystem::create_directories(*made);
    std::atexit([] { std::filesystem::remove_all(BenchFolder()); });
    return made;
  }();
  return *folder;
}

// Chords with a slow sweep and some noise, so the encoder spends bits as on real music.
void WriteMusicPcm(const std::string& path, int seconds) {
  std::ofstream out(path, std::ios::binary);
  uint32_t noise = 12345;
  int16_t frame[2];
  for (long i = 0; i < static_cast<long>(seconds) * BENCH_RATE; ++i) {
    double t = static_cast<double>(i) / BENCH_RATE;
    double chord = std::sin(2 * M_PI * 220 * t) + 0.6 * std::sin(2 * M_PI * 277.2 * t) +
                   0.5 * std::sin(2 * M_PI * (330 + 40 * std::sin(t)) * t);
    noise = noise * 1664525u + 1013904223u;
    double hiss = (static_cast<double>(noise >> 16) / 65536.0 - 0.5) * 0.3;
    frame[0] = static_cast<int16_t>(std::lround((chord * 0.25 + hiss) * 20000));
    frame[1] = static_cast<int16_t>(std::lround((chord * 0.2 - hiss) * 20000));
    out.write(reinterpret_cast<const char*>(frame), sizeof frame);
  }
}

// seconds of 44.1 HZ stereo music as Ogg Vorbis (oggenc quality 4); empty without oggenc.
std::string MusicFile(int seconds) {
  std::string ogg = (BenchFolder() / ("music-" + std::to_string(seconds) + ".ogg")).string();
  if (std::filesystem::exists(ogg)) return ogg;
  std::string raw = (BenchFolder() / "music.raw").string();
  WriteMusicPcm(raw, seconds);
  std::string command = "oggenc -Q -r -B 16 -C 2 -R 44100 -q 4 -o '" + ogg + "' '" + raw + "'";
  int status = std::system(command.c_str());
  std::filesystem::remove(raw);
  return status == 0 ? ogg : std::string();
}

void BM_OggVorbisLoaderQuarterSecondBlocks(benchmark::State& state) {
  std::string music = MusicFile(DECODE_SECONDS);
  if (music.empty()) return state.SkipWithError("oggenc is not installed");
  uint64_t bytes = 0;
  for (auto _ : state) {
    OggVorbisLoader loader;
    if (loader.Open(music.c_str()) != SOUND_OK) return state.SkipWithError("the loader refused the music");
    int status = SOUND_OK;
    while (status == SOUND_OK) {
      PcmBlock block;
      status = loader.Read(block, SOUND_CURRENT_POSITION, QUARTER_SECOND, false);
      benchmark::DoNotOptimize(block.Data());
    }
    bytes += loader.GetSize();
  }
  state.SetBytesProcessed(static_cast<int64_t>(bytes));
}
BENCHMARK(BM_OggVorbisLoaderQuarterSecondBlocks)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);

void BM_OggdecRaw(benchmark::State& state) {
  std::string music = MusicFile(DECODE_SECONDS);
  if (music.empty()) return state.SkipWithError("oggenc is not installed");
  uint64_t bytes = static_cast<uint64_t>(DECODE_SECONDS) * BENCH_RATE * 4;
  uint64_t decoded = 0;
  for (auto _ : state) {
    pid_t child = fork();
    if (child == 0) {
      execlp("oggdec", "oggdec", "-Q", "-R", "-o", "/dev/null", music.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return state.SkipWithError("oggdec failed");
    decoded += bytes;
  }
  state.SetBytesProcessed(static_cast<int64_t>(decoded));
}
BENCHMARK(BM_OggdecRaw)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);

// CPU time of this process's thread named name, in seconds; -1 when there is none.
double ThreadCpuSeconds(const std::string& name) {
  for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
    std::ifstream comm(task.path() / "comm");
    std::string threadName;
    std::getline(comm, threadName);
    if (threadName != name) continue;
    std::ifstream schedstat(task.path() / "schedstat");
    double runNanoseconds = -1;
    schedstat >> runNanoseconds;
    return runNanoseconds / 1e9;
  }
  return -1;
}

double ProcessCpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

void BM_StreamingWorkerCpu(benchmark::State& state) {
  const char* secondsText = std::getenv("TORVANE_BENCH_STREAM_SECONDS");
  int seconds = secondsText ? std::atoi(secondsText) : 30;
  std::string music = MusicFile(STREAM_FILE_SECONDS);
  if (music.empty()) return state.SkipWithError("oggenc is not installed");
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  for (auto _ : state) {
    SoundPlayer player;
    if (player.InitDirectSound() != PLAYER_OK || player.OpenMusic(music.c_str()) != PLAYER_OK) {
      return state.SkipWithError("the player cannot open the music");
    }
    double processBefore = ProcessCpuSeconds();
    double workerBefore = ThreadCpuSeconds("sound-stream");
    auto start = std::chrono::steady_clock::now();
    player.Play();
    while (player.IsPlaying() && std::chrono::steady_clock::now() - start < std::chrono::seconds(seconds)) {
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    double worker = ThreadCpuSeconds("sound-stream") - workerBefore;
    double process = ProcessCpuSeconds() - processBefore;
    player.Close();
    state.SetIterationTime(wall);
    state.counters["worker_cpu_percent"] = 100.0 * worker / wall;
    state.counters["process_cpu_percent"] = 100.0 * process / wall;
    state.counters["streamed_seconds"] = wall;
  }
}
BENCHMARK(BM_StreamingWorkerCpu)->Unit(benchmark::kSecond)->UseManualTime()->Iterations(1);

}  // namespace
