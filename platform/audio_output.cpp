#include "platform/audio_output.h"

#include <atomic>

#include <SDL2/SDL.h>

#include "platform/audio_mixer.h"
#include "platform/library_noise.h"

namespace platform {

namespace {

// About 23 ms a callback: short enough that the play cursor follows the ear closely.
constexpr Uint16 AUDIO_DEVICE_FRAMES = 1024;

// Read by the streaming thread when it checks for a lost device.
std::atomic<SDL_AudioDeviceID> gDevice = 0;

void FeedDevice(void*, Uint8* stream, int length) {
  MixAudioBuffers(reinterpret_cast<int16_t*>(stream), static_cast<uint32_t>(length) / (AUDIO_DEVICE_CHANNELS * 2));
}

SDL_AudioDeviceID OpenDevice(std::string& error) {
  SDL_AudioSpec wanted{};
  wanted.freq = static_cast<int>(AUDIO_DEVICE_RATE);
  wanted.format = AUDIO_S16LSB;
  wanted.channels = static_cast<Uint8>(AUDIO_DEVICE_CHANNELS);
  wanted.samples = AUDIO_DEVICE_FRAMES;
  wanted.callback = FeedDevice;
  SDL_AudioSpec obtained{};
  // No changes allowed: SDL converts to whatever the hardware wants behind the callback.
  SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
  if (device == 0) {
    error = SDL_GetError();
    return 0;
  }
  SDL_PauseAudioDevice(device, 0);
  return device;
}

}  // namespace

bool OpenAudioOutput(std::string& error) {
  if (gDevice != 0) return true;
  bool started = false;
  WithLibraryNoiseSetAside([&] {
    started = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
    if (!started) {
      error = SDL_GetError();
      return;
    }
    gDevice = OpenDevice(error);
    if (gDevice == 0) SDL_QuitSubSystem(SDL_INIT_AUDIO);
  });
  return started && gDevice != 0;
}

void CloseAudioOutput() {
  if (gDevice == 0) return;
  SDL_CloseAudioDevice(gDevice);
  gDevice = 0;
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool AudioOutputIsOpen() { return gDevice != 0; }

bool AudioOutputLost() { return gDevice != 0 && SDL_GetAudioDeviceStatus(gDevice) == SDL_AUDIO_STOPPED; }

bool ReopenAudioOutput() {
  if (gDevice == 0) return false;
  SDL_CloseAudioDevice(gDevice);
  std::string error;
  WithLibraryNoiseSetAside([&] { gDevice = OpenDevice(error); });
  if (gDevice == 0) SDL_QuitSubSystem(SDL_INIT_AUDIO);
  return gDevice != 0;
}

}  // namespace platform
