#pragma once
// Libraries that SDL loads print to stderr on their own account (the sound library's "ALSA lib
// ..." lines when there is no sound device, the display library's "XDG_RUNTIME_DIR is invalid"
// without a desktop), ahead of the program's own clear words about the same thing. Their
// start-up is run with stderr set aside; what they printed goes to the noise sink (the log, at
// the debug level), so it is there when asked for and out of the author's way otherwise.

#include <functional>

namespace platform {

using LibraryNoiseSink = void (*)(const char* line);

// Where set-aside lines go (without a sink they are dropped); returns the sink before.
LibraryNoiseSink SetLibraryNoiseSink(LibraryNoiseSink sink);

// Runs call with stderr set aside. Lines in the program's own log form ("[subsystem] level: ...")
// that another thread writes meanwhile are put back on stderr.
void WithLibraryNoiseSetAside(const std::function<void()>& call);

}  // namespace platform
