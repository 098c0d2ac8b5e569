#pragma once
// One capture from the command line to the finished file: the music decoded, the output opened
// under a temporary name, the production started headless, the frames that the first captured
// frame depends on composed, then every frame of the part composed at its fixed-step demo time,
// read back asynchronously and stored by the encoding thread, and the output moved into place.

#include "tools/capture/capture_settings.h"

// The exit status: 0 when the output is complete, INTERRUPTED_EXIT_STATUS after Ctrl+C, 1 on
// any failure (with a message on stderr and nothing under the output's name).
int RunCaptureJob(const CaptureSettings& settings);

// Prints settings.segments frame ranges "A:B", one a line, that split the whole capture into
// parts of nearly equal length. 1 (with a message) when the music cannot be read.
int PrintCaptureSegments(const CaptureSettings& settings);
