// The player on SDL's disk audio driver, which records what is played into a file in real time.
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "sound/ogg_vorbis_loader.h"
#include "sound/sound_player.h"
#include "tests/support/sound_test_data.h"
#include "tests/support/test_paths.h"

namespace {

constexpr uint32_t SEGMENT = 44100;
constexpr size_t NOT_FOUND = static_cast<size_t>(-1);

struct StreamedMusic {
  const char* name;
  Bytes file;
  bool ogg;
};

class SoundPlayerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    recording = ScratchFolder() + "/" + ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".raw";
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", recording.c_str(), 1);
    // Warning boxes go to stderr only.
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
  }

  // Waits until the player stops; false if it is still playing after limit. A stream refilled
  // from the main loop is pumped at a browser's frame rate meanwhile.
  static bool WaitUntilStopped(const SoundPlayer& player, std::chrono::seconds limit) {
    auto deadline = std::chrono::steady_clock::now() + limit;
    while (player.IsPlaying()) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      if (SoundPlayer::StreamsFromMainLoop()) {
        SoundPlayer::PumpStreams();
        std::this_thread::sleep_for(std::chrono::milliseconds(16));
      } else {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
      }
    }
    return true;
  }

  void TearDown() override { SoundPlayer::StreamFromMainLoop(false); }

  void PlaysEverySample(const StreamedMusic& music);

  // Where pcm's first 4 KiB appear in the recording at or after from (frame-aligned).
  static size_t FindStart(const Bytes& recorded, const Bytes& pcm, size_t from) {
    const size_t probe = 4096;
    for (size_t at = from; at + probe <= recorded.size(); at += 4) {
      if (std::memcmp(&recorded[at], pcm.data(), probe) == 0) return at;
    }
    return NOT_FOUND;
  }

  static size_t MatchingBytes(const Bytes& recorded, size_t at, const Bytes& pcm) {
    size_t length = 0;
    while (at + length < recorded.size() && length < pcm.size() && recorded[at + length] == pcm[length]) ++length;
    return length;
  }

  // Frames from `from` up to the first run of SILENT_RUN all-zero frames (the counting PCM has
  // none that long).
  static size_t FramesBeforeSilence(const Bytes& recorded, size_t from) {
    constexpr size_t SILENT_RUN = 64;
    size_t zeros = 0;
    size_t frame = 0;
    for (size_t at = from; at + 4 <= recorded.size(); at += 4, ++frame) {
      bool silent = recorded[at] == 0 && recorded[at + 1] == 0 && recorded[at + 2] == 0 && recorded[at + 3] == 0;
      zeros = silent ? zeros + 1 : 0;
      if (zeros == SILENT_RUN) return frame + 1 - SILENT_RUN;
    }
    return frame - zeros;
  }

  // The segments of pcm (counted from its start) that the recording from start does not hold.
  static std::vector<size_t> DifferingSegments(const Bytes& recorded, size_t start, const Bytes& pcm) {
    std::vector<size_t> differing;
    for (size_t at = 0; at < pcm.size(); at += SEGMENT) {
      size_t bytes = std::min<size_t>(SEGMENT, pcm.size() - at);
      if (!std::equal(pcm.begin() + at, pcm.begin() + at + bytes, recorded.begin() + (start + at))) differing.push_back(at / SEGMENT);
    }
    return differing;
  }

  static bool SilentFrom(const Bytes& recorded, size_t from, size_t to) {
    for (size_t i = from; i < to && i < recorded.size(); ++i) {
      if (recorded[i] != 0) return false;
    }
    return true;
  }

  std::string recording;
};

Bytes DecodedPcm(const std::string& path) {
  OggVorbisLoader reference;
  EXPECT_EQ(reference.Open(path.c_str()), SOUND_OK);
  PcmBlock whole;
  EXPECT_EQ(reference.Read(whole, SOUND_CURRENT_POSITION, 0, false), SOUND_OK);
  return Bytes(whole.Data(), whole.Data() + whole.Size());
}

// The segment that holds the end is queued half a segment before the cursor reaches it; it must
// still be played out, up to the last sample and no further, and the player must report playing
// until then: the demo ends when the music has been heard whole.
void SoundPlayerTest::PlaysEverySample(const StreamedMusic& music) {
  {
    recording = ScratchFolder() + "/" + music.name + ".raw";
    setenv("SDL_DISKAUDIOFILE", recording.c_str(), 1);
    std::string path = WriteScratchFile(music.name, music.file);
    Bytes pcm = music.ogg ? DecodedPcm(path) : Bytes(music.file.begin() + 44, music.file.end());
    ASSERT_GT(pcm.size(), 0u);
    if (std::string(music.name).rfind("boundary", 0) == 0) {
      ASSERT_EQ(pcm.size() % SEGMENT, 0u);
    } else {
      ASSERT_NE(pcm.size() % SEGMENT, 0u);
    }
    auto started = std::chrono::steady_clock::now();
    {
      SoundPlayer player;
      ASSERT_EQ(player.InitDirectSound(), PLAYER_OK);
      ASSERT_EQ(player.OpenMusic(path.c_str()), PLAYER_OK);
      ASSERT_TRUE(player.IsStreaming());
      EXPECT_EQ(player.SegmentBytes(), SEGMENT);
      EXPECT_FALSE(player.IsPlaying());
      ASSERT_EQ(player.Play(), PLAYER_OK);
      EXPECT_TRUE(player.IsPlaying());
      ASSERT_TRUE(WaitUntilStopped(player, std::chrono::seconds(20)));
      auto heard = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
      EXPECT_GE(heard, static_cast<double>(pcm.size()) / 176400.0 - 0.05) << "stopped before the music was over";
      std::this_thread::sleep_for(std::chrono::milliseconds(200));
      EXPECT_EQ(player.Close(), PLAYER_OK);
    }
    Bytes recorded = ReadWholeFile(recording);
    size_t start = FindStart(recorded, pcm, 0);
    ASSERT_NE(start, NOT_FOUND);
    EXPECT_TRUE(SilentFrom(recorded, 0, start));
    ASSERT_GE(recorded.size(), start + pcm.size()) << "the recording ends before the music";
    // A worker kept from running on a loaded machine writes a segment late and the ring plays
    // what it held before; that is the ring's own limit, not the end's. The end of the music, from
    // the last segment boundary before it but one, must be there to the sample, and nothing after.
    std::vector<size_t> late = DifferingSegments(recorded, start, pcm);
    EXPECT_LE(late.size(), 2u) << "more than a loaded machine explains";
    size_t lastWhole = pcm.size() / SEGMENT * SEGMENT;
    size_t tail = pcm.size() - (lastWhole > SEGMENT ? lastWhole - SEGMENT : 0);
    EXPECT_TRUE(std::equal(pcm.end() - tail, pcm.end(), recorded.begin() + (start + pcm.size() - tail)))
        << "the last " << tail << " bytes of the music were not played";
    EXPECT_TRUE(SilentFrom(recorded, start + pcm.size(), recorded.size())) << "nothing after the last sample";
  }
}

TEST_F(SoundPlayerTest, EverySampleOfStreamedMusicIsPlayedBeforeThePlayerStops) {
  const StreamedMusic cases[] = {
      {"inside.ogg", TestOggVorbis(6.3, 2, 44100), true},
      {"boundary.ogg", TestOggVorbis(6.0, 2, 44100), true},
      {"boundary.wav", MakeWave(Pcm16Format(2, 44100), CountingPcm(24 * SEGMENT)), false},
      {"inside.wav", MakeWave(Pcm16Format(2, 44100), CountingPcm(24 * SEGMENT + 4 * 1234)), false},
  };
  for (const StreamedMusic& music : cases) {
    SCOPED_TRACE(music.name);
    PlaysEverySample(music);
  }
}

// Where no thread runs (the browser), the main loop refills the ring once per frame: the music must
// still be heard whole, to its last sample.
TEST_F(SoundPlayerTest, AStreamPumpedFromTheMainLoopIsPlayedWhole) {
  SoundPlayer::StreamFromMainLoop(true);
  PlaysEverySample({"inside-pumped.ogg", TestOggVorbis(6.3, 2, 44100), true});
  PlaysEverySample({"boundary-pumped.wav", MakeWave(Pcm16Format(2, 44100), CountingPcm(24 * SEGMENT)), false});
}

TEST_F(SoundPlayerTest, ASecondPlayAfterTheEndStartsAgain) {
  Bytes pcm = CountingPcm(24 * SEGMENT);
  std::string path = WriteScratchFile("again.wav", MakeWave(Pcm16Format(2, 44100), pcm));
  {
    SoundPlayer player;
    ASSERT_EQ(player.InitDirectSound(), PLAYER_OK);
    ASSERT_EQ(player.OpenMusic(path.c_str()), PLAYER_OK);
    ASSERT_TRUE(player.IsStreaming());
    ASSERT_EQ(player.Play(), PLAYER_OK);
    ASSERT_TRUE(WaitUntilStopped(player, std::chrono::seconds(15)));
    ASSERT_EQ(player.Play(), PLAYER_OK);
    std::this_thread::sleep_for(std::chrono::milliseconds(700));
    EXPECT_TRUE(player.IsPlaying());
  }
  Bytes recorded = ReadWholeFile(recording);
  size_t first = FindStart(recorded, pcm, 0);
  ASSERT_NE(first, NOT_FOUND);
  EXPECT_EQ(MatchingBytes(recorded, first, pcm), pcm.size());
  size_t second = FindStart(recorded, pcm, first + pcm.size());
  ASSERT_NE(second, NOT_FOUND);
  EXPECT_GE(MatchingBytes(recorded, second, pcm), 2 * SEGMENT);
}

TEST_F(SoundPlayerTest, PlayFromStartsInsideTheMusicAndStopsPastItsEnd) {
  Bytes pcm = CountingPcm(24 * SEGMENT);
  std::string path = WriteScratchFile("from.wav", MakeWave(Pcm16Format(2, 44100), pcm));
  {
    SoundPlayer player;
    ASSERT_EQ(player.InitDirectSound(), PLAYER_OK);
    ASSERT_EQ(player.OpenMusic(path.c_str()), PLAYER_OK);
    ASSERT_EQ(player.PlayFrom(60000), PLAYER_OK);
    EXPECT_TRUE(WaitUntilStopped(player, std::chrono::seconds(1)));
    ASSERT_EQ(player.PlayFrom(3000), PLAYER_OK);
    std::this_thread::sleep_for(std::chrono::milliseconds(600));
    EXPECT_TRUE(player.IsPlaying());
  }
  Bytes recorded = ReadWholeFile(recording);
  Bytes fromThreeSeconds(pcm.begin() + 529200, pcm.end());
  size_t start = FindStart(recorded, fromThreeSeconds, 0);
  ASSERT_NE(start, NOT_FOUND);
  EXPECT_TRUE(SilentFrom(recorded, 0, start));
  EXPECT_GE(MatchingBytes(recorded, start, fromThreeSeconds), 2 * SEGMENT);
}

// The position is what the output has taken: the recording holds exactly that many frames from
// the start of the play, then the silence after Stop. Frames are counted up to the silence rather
// than matched, so a refill that comes late on a busy machine (the ring plays older data) does not
// change the count.
TEST_F(SoundPlayerTest, ThePositionOfAStreamIsTheLastFramePlayedAndStopHoldsIt) {
  Bytes pcm = CountingPcm(24 * SEGMENT);
  std::string path = WriteScratchFile("position.wav", MakeWave(Pcm16Format(2, 44100), pcm));
  constexpr uint64_t START_FRAME = 2500 * 44100 / 1000;
  uint64_t stoppedAt = 0;
  {
    SoundPlayer player;
    ASSERT_EQ(player.InitDirectSound(), PLAYER_OK);
    ASSERT_EQ(player.OpenMusic(path.c_str()), PLAYER_OK);
    ASSERT_TRUE(player.IsStreaming());
    EXPECT_EQ(player.LengthMs(), 6000u);
    ASSERT_EQ(player.PlayFrom(2500), PLAYER_OK);
    std::this_thread::sleep_for(std::chrono::milliseconds(700));
    player.Stop();
    EXPECT_FALSE(player.IsPlaying());
    stoppedAt = player.PositionFrames();
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_EQ(player.PositionFrames(), stoppedAt) << "the position holds while stopped";
    EXPECT_EQ(player.PositionMs(), static_cast<uint32_t>(stoppedAt * 1000 / 44100));
  }
  ASSERT_GT(stoppedAt, START_FRAME + 44100 / 10) << "the music played on from 2.5 s";
  Bytes recorded = ReadWholeFile(recording);
  Bytes fromStart(pcm.begin() + START_FRAME * 4, pcm.end());
  size_t start = FindStart(recorded, fromStart, 0);
  ASSERT_NE(start, NOT_FOUND);
  EXPECT_GE(MatchingBytes(recorded, start, fromStart), 4096u) << "the play began at 2.5 s to the sample";
  EXPECT_EQ(FramesBeforeSilence(recorded, start), stoppedAt - START_FRAME);
}

TEST_F(SoundPlayerTest, ShortSoundsPlayOnceFromAStaticBuffer) {
  Bytes pcm = CountingPcm(88200);
  std::string path = WriteScratchFile("short.wav", MakeWave(Pcm16Format(2, 44100), pcm));
  {
    SoundPlayer player;
    ASSERT_EQ(player.InitDirectSound(), PLAYER_OK);
    ASSERT_EQ(player.OpenMusic(path.c_str()), PLAYER_OK);
    EXPECT_FALSE(player.IsStreaming());
    ASSERT_EQ(player.PlayFrom(500), PLAYER_OK);
    EXPECT_FALSE(player.IsPlaying());
    ASSERT_EQ(player.Play(), PLAYER_OK);
    ASSERT_TRUE(WaitUntilStopped(player, std::chrono::seconds(5)));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  Bytes recorded = ReadWholeFile(recording);
  size_t start = FindStart(recorded, pcm, 0);
  ASSERT_NE(start, NOT_FOUND);
  EXPECT_EQ(MatchingBytes(recorded, start, pcm), pcm.size());
  EXPECT_TRUE(SilentFrom(recorded, start + pcm.size(), recorded.size()));
}

TEST_F(SoundPlayerTest, OneMebibyteOfPcmIsWhereStreamingBegins) {
  SoundPlayer player;
  ASSERT_EQ(player.InitDirectSound(), PLAYER_OK);
  std::string below = WriteScratchFile("below.wav", MakeWave(Pcm16Format(2, 44100), CountingPcm(1048575)));
  ASSERT_EQ(player.OpenMusic(below.c_str()), PLAYER_OK);
  EXPECT_FALSE(player.IsStreaming());
  std::string at = WriteScratchFile("at.wav", MakeWave(Pcm16Format(2, 44100), CountingPcm(1048576)));
  ASSERT_EQ(player.OpenMusic(at.c_str()), PLAYER_OK);
  EXPECT_TRUE(player.IsStreaming());
  EXPECT_EQ(player.SegmentBytes(), 44100u);
  std::string mono = WriteScratchFile("mono.wav", MakeWave(Pcm16Format(1, 22050), CountingPcm(1048576)));
  ASSERT_EQ(player.OpenMusic(mono.c_str()), PLAYER_OK);
  EXPECT_TRUE(player.IsStreaming());
  EXPECT_EQ(player.SegmentBytes(), 11024u);
  EXPECT_EQ(player.Format().blockAlign, 2);
}

TEST_F(SoundPlayerTest, ResultCodesAndWarnings) {
  std::string music = WriteScratchFile("codes.wav", MakeWave(Pcm16Format(2, 44100), CountingPcm(4000)));
  SoundPlayer player;
  EXPECT_EQ(player.Play(), PLAYER_NO_BUFFER);
  EXPECT_EQ(player.SetVolume(-100), PLAYER_NO_BUFFER);
  EXPECT_FALSE(player.IsPlaying());
  EXPECT_EQ(player.OpenMusic(music.c_str()), PLAYER_PRIMARY_FAILED);
  ASSERT_EQ(player.InitDirectSound(), PLAYER_OK);
  EXPECT_EQ(player.InitDirectSound(), PLAYER_OUTPUT_ERROR);
  SoundPlayer second;
  EXPECT_EQ(second.InitDirectSound(), PLAYER_OUTPUT_ERROR);

  std::string missing = ScratchFolder() + "/music.ogg";
  EXPECT_EQ(player.OpenMusic(missing.c_str()), PLAYER_NO_DECODER);
  ASSERT_TRUE(player.Failure());
  EXPECT_EQ(player.Failure()->text, "Sound::" + missing + "の読み取りインターフェイス取得に失敗.\nファイルが存在するかもしくは対応形式か確認して下さい.");
  EXPECT_EQ(player.Failure()->icon, AlertIcon::Warning);
  std::string garbage = WriteScratchFile("garbage.ogg", Bytes(5000, 0x47));
  EXPECT_EQ(player.OpenMusic(garbage.c_str()), PLAYER_NO_DECODER);

  std::string floatWave = WriteScratchFile("float.wav", MakeWave(WaveFormat{3, 1, 44100, 176400, 4, 32, 0}, CountingPcm(400)));
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(player.OpenMusic(floatWave.c_str()), PLAYER_OUTPUT_ERROR);
  EXPECT_NE(::testing::internal::GetCapturedStderr().find("32-bit sound (format tag 3) with 1 channel(s) at 44100 Hz cannot be played"),
            std::string::npos);
  EXPECT_FALSE(player.IsPlaying());
  // 16-bit extensible (a mono click of 100 frames): integer PCM, played like any other.
  EXPECT_EQ(player.OpenMusic(SourcePath("tests/data/sound/pop.wav").c_str()), PLAYER_OK);
  EXPECT_FALSE(player.Failure());

  ASSERT_EQ(player.OpenMusic(music.c_str()), PLAYER_OK);
  EXPECT_EQ(player.SetVolume(-600), PLAYER_OK);
  EXPECT_EQ(player.Play(), PLAYER_OK);
  EXPECT_EQ(player.Close(), PLAYER_OK);
  EXPECT_EQ(player.Play(), PLAYER_NO_BUFFER);
}

TEST_F(SoundPlayerTest, AMissingAudioOutputIsExplainedBeforeTheStartFails) {
  setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  SoundPlayer player;
  EXPECT_EQ(player.InitDirectSound(), PLAYER_OUTPUT_FAILED);
  ASSERT_TRUE(player.Failure());
  EXPECT_EQ(player.Failure()->caption, "Sound");
  EXPECT_NE(player.Failure()->text.find("The sound output could not be opened"), std::string::npos);
}

}  // namespace
