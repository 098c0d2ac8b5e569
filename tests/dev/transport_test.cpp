// The developer mode's playhead against a model of the music: the music follows every move of the
// playhead, the playhead is the music's position while it plays, and the loop and the end of the
// timeline turn it as the keys promise.
#include <vector>

#include <gtest/gtest.h>

#include "demo/music_transport.h"
#include "platform/audio_buffer.h"
#include "dev/transport.h"

namespace {

// Music that plays in step with the test's clock, a little behind it as a device buffer would be.
class ModelMusic : public MusicTransport {
 public:
  ModelMusic(const uint32_t& now, uint32_t length) : mNow(now), mLength(length) {}

  void Play() override { PlayFrom(0); }
  bool PlayFrom(uint32_t ms) override {
    starts.push_back(ms);
    if (ms >= mLength) return false;
    mStart = ms;
    mStartTick = mNow;
    mPlaying = true;
    return true;
  }
  void Stop() override {
    mHeld = PositionMs();
    mPlaying = false;
    ++stops;
  }
  bool IsPlaying() const override { return mPlaying && Heard() < mLength; }
  uint32_t PositionMs() const override { return mPlaying ? std::min(Heard(), mLength) : mHeld; }
  uint32_t LengthMs() const override { return mLength; }
  void SetSpeed(double value) override { speed = value; }
  void SetVolume(int32_t hundredthsOfDecibel) override { muted = hundredthsOfDecibel == platform::AUDIO_VOLUME_SILENT; }

  std::vector<uint32_t> starts;
  int stops = 0;
  double speed = 1.0;
  bool muted = false;

 private:
  static constexpr uint32_t LATENCY_MS = 7;
  uint32_t Heard() const {
    uint32_t elapsed = mNow - mStartTick;
    uint32_t played = static_cast<uint32_t>((elapsed > LATENCY_MS ? elapsed - LATENCY_MS : 0) * speed);
    return mStart + played;
  }

  const uint32_t& mNow;
  uint32_t mLength;
  uint32_t mStart = 0;
  uint32_t mStartTick = 0;
  uint32_t mHeld = 0;
  bool mPlaying = false;
};

class TransportTest : public ::testing::Test {
 protected:
  uint32_t now = 100000;
  ModelMusic music{now, 8000};
  Transport transport{&music, [this] { return now; }};

  void SetUp() override { transport.SetLength(10000); }
  // Lets wall time pass and reads the playhead, as a frame does.
  uint32_t After(uint32_t ms) {
    now += ms;
    return transport.Update();
  }
};

TEST_F(TransportTest, StartsPausedAtZeroAndThePlayingPlayheadIsTheMusicsPosition) {
  EXPECT_EQ(After(500), 0u);
  EXPECT_FALSE(transport.IsPlaying());
  EXPECT_TRUE(music.starts.empty()) << "nothing plays before Play";
  transport.Play();
  EXPECT_EQ(music.starts, std::vector<uint32_t>{0});
  uint32_t t = After(1000);
  EXPECT_EQ(t, music.PositionMs());
  EXPECT_EQ(t, 993u) << "the music's position, latency included, not the timer's 1000";
  EXPECT_TRUE(transport.FollowsMusic());
}

// Read as the demo clock it is, the playhead moves as Update moves it; Restart goes back to 0.
TEST_F(TransportTest, AsADemoClockReadsThePlayheadAndRestartsAtZero) {
  DemoClock& clock = transport;
  transport.Play();
  now += 1000;
  EXPECT_EQ(clock.Read(), 993u);
  EXPECT_EQ(transport.Time(), 993u);
  clock.Restart();
  EXPECT_EQ(transport.Time(), 0u);
  EXPECT_EQ(music.starts, (std::vector<uint32_t>{0, 0})) << "a playing playhead plays on from the start";
}

TEST_F(TransportTest, SeeksMoveTheMusicWhilePlayingAndOnlyThePlayheadWhilePaused) {
  transport.Seek(3000);
  EXPECT_EQ(transport.Time(), 3000u);
  EXPECT_TRUE(music.starts.empty());
  transport.Play();
  After(200);
  transport.Seek(6500);
  EXPECT_EQ(music.starts, (std::vector<uint32_t>{3000, 6500}));
  EXPECT_EQ(After(107), 6600u);
  transport.SeekBy(-10000);
  EXPECT_EQ(transport.Time(), 0u) << "clamped at the start";
  transport.Pause();
  transport.SeekBy(25000);
  EXPECT_EQ(transport.Time(), 10000u) << "clamped at the timeline's end";
  transport.Seek(4321);
  EXPECT_EQ(After(1000), 4321u);
}

TEST_F(TransportTest, PauseStopsTheMusicAndHoldsThePlayheadWherePlayResumes) {
  transport.Seek(2000);
  transport.Play();
  After(507);
  transport.Pause();
  EXPECT_EQ(music.stops, 1);
  EXPECT_EQ(transport.Time(), 2500u);
  EXPECT_EQ(After(3000), 2500u);
  transport.TogglePlay();
  EXPECT_EQ(music.starts.back(), 2500u);
  EXPECT_TRUE(transport.IsPlaying());
}

TEST_F(TransportTest, TheLoopTurnsBackAtItsEndAndTheMusicFollows) {
  transport.Seek(1000);
  transport.MarkLoopIn();
  transport.Seek(2000);
  transport.MarkLoopOut();
  EXPECT_TRUE(transport.Loop().on);
  EXPECT_EQ(transport.LoopStart(), 1000u);
  EXPECT_EQ(transport.LoopEnd(), 2000u);
  transport.Seek(1500);
  transport.Play();
  EXPECT_EQ(After(400), 1893u);
  EXPECT_EQ(After(200), 1000u) << "crossing 2000 goes back to the loop's start";
  EXPECT_EQ(music.starts.back(), 1000u);
  EXPECT_EQ(After(300), 1293u);

  transport.ToggleLoop();
  EXPECT_EQ(After(800), 2093u) << "with the loop off the playhead goes on";
}

TEST_F(TransportTest, LoopEndsAreKeptInOrder) {
  transport.SetLoop(5000, 3000);
  EXPECT_EQ(transport.LoopStart(), 3000u);
  EXPECT_EQ(transport.LoopEnd(), 5000u);
  transport.Seek(6000);
  transport.MarkLoopIn();
  EXPECT_EQ(transport.LoopStart(), 6000u);
  EXPECT_EQ(transport.LoopEnd(), 10000u) << "a start past the end drops the end";
  transport.Seek(4000);
  transport.MarkLoopOut();
  EXPECT_EQ(transport.LoopStart(), 0u) << "an end before the start drops the start";
  EXPECT_EQ(transport.LoopEnd(), 4000u);
  transport.SetLoop(700, 700);
  EXPECT_FALSE(transport.Loop().on);
}

TEST_F(TransportTest, TheEndOfTheTimelinePausesThereOrLoopsTheWholeTimeline) {
  transport.SetLength(5000);
  transport.Seek(4800);
  transport.Play();
  EXPECT_EQ(After(300), 5000u);
  EXPECT_FALSE(transport.IsPlaying());
  EXPECT_EQ(music.stops, 1);
  transport.Play();
  EXPECT_EQ(music.starts.back(), 0u) << "play at the end starts again from 0";

  transport.ToggleLoop();
  transport.Seek(4900);
  EXPECT_EQ(After(300), 0u);
  EXPECT_TRUE(transport.IsPlaying());
}

TEST_F(TransportTest, PastTheEndOfTheMusicTheTimerCarriesThePlayheadOn) {
  transport.Seek(7500);
  transport.Play();
  EXPECT_EQ(After(300), 7793u);
  EXPECT_EQ(After(300), 7793u) << "the music has just ended: the last position heard";
  EXPECT_FALSE(transport.FollowsMusic());
  EXPECT_EQ(After(1000), 8793u);
  transport.Seek(9000);
  EXPECT_EQ(music.starts.back(), 9000u);
  EXPECT_FALSE(transport.FollowsMusic()) << "nothing to play past the music's end";
  EXPECT_EQ(After(500), 9500u);
}

TEST_F(TransportTest, HalfSpeedSlowsTheMusicAndTheTimer) {
  transport.SetSpeed(PlaybackSpeed::Half);
  EXPECT_EQ(music.speed, 0.5);
  transport.Seek(9000);
  transport.Play();
  EXPECT_EQ(After(400), 9200u);
  transport.SetSpeed(PlaybackSpeed::Normal);
  EXPECT_EQ(After(400), 9600u) << "the new speed counts from the change on";
  EXPECT_EQ(music.speed, 1.0);
}

TEST_F(TransportTest, WithoutMusicTheTimerKeepsTime) {
  uint32_t clock = 5;
  Transport silent(nullptr, [&] { return clock; });
  silent.SetLength(3000);
  silent.Play();
  clock += 1200;
  EXPECT_EQ(silent.Update(), 1200u);
  silent.ToggleMute();
  EXPECT_TRUE(silent.IsMuted());
  clock += 5000;
  EXPECT_EQ(silent.Update(), 3000u);
  EXPECT_FALSE(silent.IsPlaying());
}

TEST_F(TransportTest, MuteReachesTheMusic) {
  transport.ToggleMute();
  EXPECT_TRUE(music.muted);
  transport.ToggleMute();
  EXPECT_FALSE(music.muted);
}

}  // namespace
