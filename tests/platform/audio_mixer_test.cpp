// The mixer driven by hand, without a device, so every cursor step is exact.
#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "platform/audio_buffer.h"
#include "platform/audio_mixer.h"
#include "tests/support/sound_test_data.h"

namespace {

using platform::AudioBuffer;
using platform::AudioFormat;
using platform::AudioLock;

AudioFormat Format(uint16_t channels, uint32_t rate, uint16_t bits) {
  return AudioFormat{channels, rate, bits, static_cast<uint16_t>(channels * bits / 8)};
}

void Write(AudioBuffer& buffer, uint32_t offset, const Bytes& bytes) {
  uint8_t* region = nullptr;
  ASSERT_EQ(buffer.Lock(offset, static_cast<uint32_t>(bytes.size()), &region), AudioLock::Locked);
  std::copy(bytes.begin(), bytes.end(), region);
  buffer.Unlock();
}

std::vector<int16_t> Mix(uint32_t frames) {
  std::vector<int16_t> out(frames * 2);
  platform::MixAudioBuffers(out.data(), frames);
  return out;
}

TEST(AudioMixer, DeviceFormatPlaysBitExactAndTheCursorFollowsWhatWasMixed) {
  std::vector<int16_t> music = TestMusic(1000, 2, 44100);
  auto buffer = AudioBuffer::Create(Format(2, 44100, 16), 4000);
  ASSERT_TRUE(buffer);
  Write(*buffer, 0, SamplesAsBytes(music));
  EXPECT_EQ(Mix(10), std::vector<int16_t>(20, 0));  // nothing plays before Play
  buffer->Play(false);
  EXPECT_TRUE(buffer->IsPlaying());
  std::vector<int16_t> out = Mix(300);
  EXPECT_EQ(out, std::vector<int16_t>(music.begin(), music.begin() + 600));
  EXPECT_EQ(buffer->PlayPosition(), 1200u);
  buffer->Stop();
  EXPECT_EQ(Mix(5), std::vector<int16_t>(10, 0));
  EXPECT_EQ(buffer->PlayPosition(), 1200u);
}

// The end of a streamed sound: the looping ring plays up to the mark, in this lap or after
// wrapping, and not one frame further.
TEST(AudioMixer, AStopMarkEndsALoopingBufferExactlyThere) {
  std::vector<int16_t> music = TestMusic(100, 2, 44100);
  auto buffer = AudioBuffer::Create(Format(2, 44100, 16), 400);
  ASSERT_TRUE(buffer);
  Write(*buffer, 0, SamplesAsBytes(music));
  buffer->SetPlayPosition(80);
  buffer->StopAt(200);
  buffer->Play(true);
  std::vector<int16_t> out = Mix(60);
  EXPECT_FALSE(buffer->IsPlaying());
  EXPECT_EQ(buffer->PlayPosition(), 200u);
  EXPECT_EQ(std::vector<int16_t>(out.begin(), out.begin() + 60), std::vector<int16_t>(music.begin() + 40, music.begin() + 100));
  EXPECT_EQ(std::vector<int16_t>(out.begin() + 60, out.end()), std::vector<int16_t>(60, 0));

  buffer->SetPlayPosition(360);
  buffer->Play(true);
  buffer->StopAt(40);  // behind the cursor: reached after the wrap
  out = Mix(40);
  EXPECT_FALSE(buffer->IsPlaying());
  EXPECT_EQ(std::vector<int16_t>(out.begin(), out.begin() + 20), std::vector<int16_t>(music.begin() + 180, music.end()));
  EXPECT_EQ(std::vector<int16_t>(out.begin() + 20, out.begin() + 40), std::vector<int16_t>(music.begin(), music.begin() + 20));
  EXPECT_EQ(std::vector<int16_t>(out.begin() + 40, out.end()), std::vector<int16_t>(40, 0));

  buffer->SetPlayPosition(0);
  buffer->StopAt(40);
  buffer->Stop();
  buffer->Play(true);
  Mix(30);
  EXPECT_TRUE(buffer->IsPlaying()) << "Stop cancels the mark";
  buffer->Stop();
}

TEST(AudioMixer, PlayingOnceStopsAtTheEndAndLoopingWraps) {
  auto buffer = AudioBuffer::Create(Format(2, 44100, 16), 400);
  ASSERT_TRUE(buffer);
  Write(*buffer, 0, SamplesAsBytes(TestMusic(100, 2, 44100)));
  buffer->Play(false);
  std::vector<int16_t> out = Mix(150);
  EXPECT_FALSE(buffer->IsPlaying());
  EXPECT_EQ(std::vector<int16_t>(out.begin() + 200, out.end()), std::vector<int16_t>(100, 0));

  buffer->SetPlayPosition(360);
  buffer->Play(true);
  out = Mix(20);
  EXPECT_TRUE(buffer->IsPlaying());
  EXPECT_EQ(buffer->PlayPosition(), 40u);  // 10 frames to the end, 10 more from the start
}

TEST(AudioMixer, PlayedFramesCountEveryWrapUntilTheCursorIsSetAndFollowTheFrequency) {
  auto buffer = AudioBuffer::Create(Format(2, 44100, 16), 400);
  ASSERT_TRUE(buffer);
  Write(*buffer, 0, SamplesAsBytes(TestMusic(100, 2, 44100)));
  buffer->SetPlayPosition(200);
  buffer->Play(true);
  Mix(230);
  EXPECT_EQ(buffer->PlayedFrames(), 230u) << "two wraps of a 100-frame ring";
  EXPECT_EQ(buffer->PlayPosition(), 4u * ((50 + 230) % 100));
  buffer->SetPlayPosition(0);
  EXPECT_EQ(buffer->PlayedFrames(), 0u);

  // Half the rate: each frame lasts two device frames, and the pitch drops an octave.
  buffer->SetFrequency(22050);
  Mix(60);
  EXPECT_EQ(buffer->PlayedFrames(), 30u);
  buffer->SetFrequency(0);
  Mix(60);
  EXPECT_EQ(buffer->PlayedFrames(), 90u) << "0 is the buffer's own rate again";
  buffer->SetFrequency(10);
  Mix(44100);
  // A second at 100 Hz, less what the fixed-point step drops.
  EXPECT_NEAR(static_cast<double>(buffer->PlayedFrames()), 190.0, 1.0) << "rates below the supported ones are clamped";
}

TEST(AudioMixer, ConvertsEightBitMonoAndOtherRates) {
  auto eight = AudioBuffer::Create(Format(1, 44100, 8), 4);
  ASSERT_TRUE(eight);
  Write(*eight, 0, {128, 255, 0, 192});
  eight->Play(false);
  std::vector<int16_t> out = Mix(4);
  EXPECT_EQ(out, (std::vector<int16_t>{0, 0, 32512, 32512, -32768, -32768, 16384, 16384}));

  auto half = AudioBuffer::Create(Format(1, 22050, 16), 200);
  ASSERT_TRUE(half);
  Bytes ramp;
  for (int i = 0; i < 100; ++i) AppendU16(ramp, static_cast<uint16_t>(i * 100));
  Write(*half, 0, ramp);
  half->Play(false);
  out = Mix(8);
  // Two device frames per source frame, the second halfway to the next sample.
  EXPECT_EQ(out, (std::vector<int16_t>{0, 0, 50, 50, 100, 100, 150, 150, 200, 200, 250, 250, 300, 300, 350, 350}));
  EXPECT_EQ(half->PlayPosition(), 8u);
}

TEST(AudioMixer, VolumeIsHundredthsOfADecibel) {
  auto buffer = AudioBuffer::Create(Format(1, 44100, 16), 8);
  ASSERT_TRUE(buffer);
  Bytes loud;
  for (int i = 0; i < 4; ++i) AppendU16(loud, 20000);
  Write(*buffer, 0, loud);
  auto level = [&](int32_t volume) {
    buffer->SetVolume(volume);
    buffer->SetPlayPosition(0);
    buffer->Play(false);
    return Mix(1)[0];
  };
  EXPECT_EQ(level(0), 20000);
  EXPECT_NEAR(level(-600), 20000 * std::pow(10.0, -0.3), 2);
  EXPECT_NEAR(level(-2000), 2000, 1);
  EXPECT_EQ(level(-10000), 0);
  EXPECT_EQ(level(-20000), 0);
  EXPECT_EQ(buffer->Volume(), -10000);
  EXPECT_EQ(level(500), 20000);
}

TEST(AudioMixer, BuffersAddUpAndClip) {
  auto a = AudioBuffer::Create(Format(1, 44100, 16), 4);
  auto b = AudioBuffer::Create(Format(1, 44100, 16), 4);
  ASSERT_TRUE(a && b);
  Bytes big;
  AppendU16(big, 30000);
  AppendU16(big, static_cast<uint16_t>(-1000));
  Write(*a, 0, big);
  Write(*b, 0, big);
  a->Play(false);
  b->Play(false);
  EXPECT_EQ(Mix(2), (std::vector<int16_t>{32767, 32767, -2000, -2000}));
}

TEST(AudioMixer, LockWrapsAtTheEndAndALostBufferIsRestoredOnce) {
  auto buffer = AudioBuffer::Create(Format(1, 44100, 8), 8);
  ASSERT_TRUE(buffer);
  Write(*buffer, 6, {1, 2, 3, 4});
  buffer->Play(false);
  std::vector<int16_t> out = Mix(8);
  EXPECT_EQ(out[0], (3 - 128) * 256);
  EXPECT_EQ(out[2 * 6], (1 - 128) * 256);

  uint8_t* region = nullptr;
  EXPECT_EQ(buffer->Lock(8, 1, &region), AudioLock::Failed);
  EXPECT_EQ(buffer->Lock(0, 9, &region), AudioLock::Failed);
  buffer->MarkLost();
  EXPECT_EQ(buffer->Lock(0, 4, &region), AudioLock::Lost);
  EXPECT_TRUE(buffer->Restore());
  EXPECT_EQ(buffer->Lock(0, 4, &region), AudioLock::Locked);
  buffer->Unlock();
}

TEST(AudioMixer, RefusesFormatsItCannotPlay) {
  EXPECT_FALSE(AudioBuffer::Create(Format(3, 44100, 16), 600));
  EXPECT_FALSE(AudioBuffer::Create(Format(2, 44100, 24), 600));
  EXPECT_FALSE(AudioBuffer::Create(Format(2, 50, 16), 600));
  EXPECT_FALSE(AudioBuffer::Create(Format(2, 44100, 16), 2));
  AudioFormat lying = Format(2, 44100, 16);
  lying.blockAlign = 3;
  EXPECT_FALSE(AudioBuffer::Create(lying, 600));
  EXPECT_FALSE(AudioBuffer::Create(AudioFormat{}, 600));
}

}  // namespace
