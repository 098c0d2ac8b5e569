#pragma once
// The process's audio device: SDL's audio subsystem with the default device opened at 44100 Hz,
// 16-bit stereo, fed by the mixer.

#include <string>

namespace platform {

// Starts the audio subsystem and opens the device; on failure error says why.
bool OpenAudioOutput(std::string& error);
void CloseAudioOutput();
bool AudioOutputIsOpen();
// True when the opened device has gone away (unplugged); its buffers count as lost.
bool AudioOutputLost();
// Opens the device again after a loss.
bool ReopenAudioOutput();

}  // namespace platform
