// A/V sync: a production that flashes white at known times, with a click in its music at each
// of them, captured to the default H.264 and AAC; every flash frame and click must line up
// within half a frame.
#include <cmath>
#include <cstdlib>

#include <gtest/gtest.h>

#include "tests/tools/capture/capture_test_support.h"
#include "tests/tools/capture/decoded_media.h"
#include "tools/capture/wave_file.h"

namespace {

constexpr int SYNC_FPS = 25;
constexpr uint32_t SAMPLE_RATE = 44100;
constexpr int MUSIC_MS = 3000;
// Off the 40 ms frame grid on purpose: the nearest frame is 5 to 10 ms away from each.
constexpr int CLICK_MS[] = {530, 1210, 1890, 2675};
constexpr int CLICK_SAMPLES = 200;
constexpr int16_t CLICK_LEVEL = 20000;
constexpr int16_t CLICK_THRESHOLD = 8000;
constexpr double WHITE_THRESHOLD = 200.0;

constexpr const char WHITE_EFFECT[] = R"(// Every pixel white.
uniform mat4 projMat : WORLDVIEWPROJECTION;
void vsScreen() { gl_Position = projMat * gl_Vertex; }
void fsWhite() { gl_FragColor = vec4(1.0); }
technique White {
  pass Fill {
    VertexProgram = vsScreen;
    FragmentProgram = fsWhite;
    DepthTestEnable = false;
  }
}
)";

constexpr const char BACKDROP_TIMELINE[] = R"(<?xml version="1.0" encoding="utf-8"?>
<TRDataXml name="sceneLineDefine">
  <SceneLineEntry tdfId="backdrop" line="0" sTime="0" eTime="3000" shader="default"/>
</TRDataXml>
)";

// One white entry per click, from half a frame before it to just under half a frame after, so
// exactly one frame time falls inside: the one nearest the click.
std::string FlashEffects() {
  std::string xml = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<TRDataXml name=\"postEffectDefine\">\n";
  int half = 1000 / SYNC_FPS / 2;
  for (int ms : CLICK_MS) {
    xml += "  <PostEffectEntry sTime=\"" + std::to_string(ms - half) + "\" eTime=\"" + std::to_string(ms + half - 1) +
           "\" shader=\"white\" execPrio=\"1\" execPass=\"-1\" renderTarget=\"-1\"/>\n";
  }
  return xml + "</TRDataXml>\n";
}

// Silence with a short square burst at each click time.
std::string ClickMusic() {
  std::vector<int16_t> samples(static_cast<size_t>(SAMPLE_RATE) * MUSIC_MS / 1000 * 2, 0);
  for (int ms : CLICK_MS) {
    size_t start = static_cast<size_t>(ms) * SAMPLE_RATE / 1000;
    for (size_t i = 0; i < CLICK_SAMPLES; ++i) {
      int16_t value = (i / 20) % 2 ? CLICK_LEVEL : static_cast<int16_t>(-CLICK_LEVEL);
      samples[(start + i) * 2] = value;
      samples[(start + i) * 2 + 1] = value;
    }
  }
  std::vector<uint8_t> wave = EncodeWave(samples.data(), static_cast<int64_t>(samples.size() / 2), 2, SAMPLE_RATE);
  return std::string(wave.begin(), wave.end());
}

double MeanLevel(const std::vector<uint8_t>& rgb) {
  double sum = 0;
  for (uint8_t value : rgb) sum += value;
  return rgb.empty() ? 0 : sum / static_cast<double>(rgb.size());
}

// Seconds of each frame that is white.
std::vector<double> FlashTimes(const DecodedMedia& media) {
  std::vector<double> times;
  for (const DecodedPicture& picture : media.pictures) {
    if (MeanLevel(picture.rgb) > WHITE_THRESHOLD) times.push_back(static_cast<double>(picture.frame) / SYNC_FPS);
  }
  return times;
}

// Seconds of each click's first loud sample after a quiet stretch.
std::vector<double> ClickTimes(const DecodedMedia& media) {
  std::vector<double> times;
  int64_t quiet = SAMPLE_RATE;
  for (int64_t i = 0; i < media.SampleCount(); ++i) {
    bool loud = std::abs(media.samples[static_cast<size_t>(i * media.channels)]) > CLICK_THRESHOLD;
    if (loud && quiet > SAMPLE_RATE / 10) times.push_back(static_cast<double>(media.firstSample + i) / media.sampleRate);
    quiet = loud ? 0 : quiet + 1;
  }
  return times;
}

TEST(AvSync, FlashesAndClicksLineUpWithinHalfAFrame) {
  ScratchFolder folder;
  std::string pack = StageProduction(folder, "flash",
                                     {{"data/definition/sceneLineDefine.xml", BACKDROP_TIMELINE},
                                      {"data/definition/postEffectDefine.xml", FlashEffects()},
                                      {"data/shader/white.cgfx", WHITE_EFFECT}});
  ASSERT_FALSE(pack.empty());
  WriteTextFile(folder / "clicks.wav", ClickMusic());
  CommandResult captured =
      Capture({"--pack", pack, "--music", folder / "clicks.wav", "--fps", std::to_string(SYNC_FPS), "--out", folder / "sync.mp4"});
  ASSERT_EQ(captured.status, 0) << captured.err;
  DecodedMedia media;
  std::string error;
  ASSERT_TRUE(DecodeMedia(folder / "sync.mp4", SYNC_FPS, media, error)) << error;
  ASSERT_EQ(media.pictures.size(), static_cast<size_t>(MUSIC_MS * SYNC_FPS / 1000));

  std::vector<double> flashes = FlashTimes(media);
  std::vector<double> clicks = ClickTimes(media);
  ASSERT_EQ(flashes.size(), std::size(CLICK_MS));
  ASSERT_EQ(clicks.size(), std::size(CLICK_MS));
  for (size_t i = 0; i < flashes.size(); ++i) {
    EXPECT_LE(std::abs(flashes[i] - clicks[i]), 0.5 / SYNC_FPS) << "flash at " << flashes[i] << " s, click at " << clicks[i] << " s";
  }
}

}  // namespace
