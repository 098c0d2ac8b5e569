#pragma once
// The developer mode's command line:
//   torvane --dev [--pack P | --content DIR] [--music M] [--size WxH] [--fsaa N] [--aspect A:B]
//                 [--low-quality] [--control SOCKET] [--sync-editor HOST:PORT] [--play]
// With neither --pack nor --content the pack is "torvane.pak" in the working folder, as for the
// player; --pack and --content together read the pack with the folder's loose files over it.

#include <string>
#include <vector>

#include "demo/frame_composer.h"

struct DevOptions {
  std::string packPath;     // empty: no pack (the content folder alone)
  std::string contentPath;  // empty: no loose files
  std::string musicPath;    // unless given: "music.ogg" beside the pack, else the content folder's
  std::string controlPath;  // the control socket; empty for none
  std::string syncEditor;   // a sync editor's "HOST:PORT" to connect to; empty for none
  FrameConfig frame;        // the composed picture's size, FSAA level, aspect and quality
  bool play = false;        // start playing instead of paused at 0
};

// The usage text printed for a bad command line.
extern const char DEV_USAGE[];

// Parses the arguments after "--dev"; false with the reason in error.
bool ParseDevOptions(const std::vector<std::string>& args, DevOptions& options, std::string& error);
