// Sync track evaluation per frame: 1,000 tracks of 1,000 keys each evaluated at the frame's row
// as playback moves on, and the same tracks reached through 1,000 keyed constants by name (the
// path a frame's post-effects take). Goal: under 0.1 ms a frame.
#include <benchmark/benchmark.h>

#include <string>

#include "files/sync_document.h"
#include "resources/post_effect_entry.h"

namespace {

constexpr int TRACKS = 1000;
constexpr int KEYS = 1000;

SyncDocument ManyTracks() {
  SyncDocument document;
  uint32_t seed = 7;
  for (int t = 0; t < TRACKS; ++t) {
    SyncTrack track{"group" + std::to_string(t % 10) + ":track" + std::to_string(t), {}, 0};
    uint32_t row = 0;
    for (int k = 0; k < KEYS; ++k) {
      seed = seed * 1664525u + 1013904223u;
      row += 1 + seed % 8;
      track.keys.push_back({row, static_cast<float>(seed % 1000) / 100.0f, static_cast<uint8_t>(seed % 4)});
    }
    document.tracks.push_back(std::move(track));
  }
  return document;
}

// One frame of a 60 Hz playback at 120 bpm, 8 rows a beat.
uint32_t FrameTimeMs(int64_t frame) { return static_cast<uint32_t>(frame * 1000 / 60 % 300000); }

void BM_EvaluateEveryTrack(benchmark::State& state) {
  const SyncDocument document = ManyTracks();
  int64_t frame = 0;
  for (auto _ : state) {
    const double row = SyncRowAt(document, FrameTimeMs(frame++));
    float sum = 0;
    for (const SyncTrack& track : document.tracks) sum += SyncTrackValue(track, row);
    benchmark::DoNotOptimize(sum);
  }
}
BENCHMARK(BM_EvaluateEveryTrack)->Unit(benchmark::kMicrosecond);

void BM_KeyedConstantsByName(benchmark::State& state) {
  const SyncDocument document = ManyTracks();
  std::vector<PostEffectConstant> constants;
  for (const SyncTrack& track : document.tracks) constants.push_back({"p", "float", {0, 0, 0, 0}, track.name});
  int64_t frame = 0;
  for (auto _ : state) {
    const double row = SyncRowAt(document, FrameTimeMs(frame++));
    float sum = 0;
    float values[4];
    for (const PostEffectConstant& constant : constants) {
      KeyedValues(constant, document, row, values);
      sum += values[0];
    }
    benchmark::DoNotOptimize(sum);
  }
}
BENCHMARK(BM_KeyedConstantsByName)->Unit(benchmark::kMicrosecond);

}  // namespace
