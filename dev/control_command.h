#pragma once
// The control channel's requests: one JSON object per line, {"cmd": NAME, ...}. Reading a line is
// pure, so any bytes an editor or a script sends give a command or a reason to refuse it.
//
//   {"cmd":"state"}                          the playhead, the loop, what each line shows, frame time
//   {"cmd":"seek","ms":N}                    moves the playhead
//   {"cmd":"play"} / {"cmd":"pause"}
//   {"cmd":"loop","from":A,"to":B}           sets the loop region and turns the loop on
//   {"cmd":"loop","off":true}                turns the loop off
//   {"cmd":"reload"} / {"cmd":"reload","path":P}   everything, or one pack path ("data\x\y.png")
//   {"cmd":"screenshot","path":FILE}         the next composed frame, without the interface, as a PNG
//   {"cmd":"quit"}
//   {"cmd":"tracks"}                         the sync tracks: tempo, the playhead's row, each track
//   {"cmd":"track","name":N}                 the keys of one track
//   {"cmd":"set_key","track":N,"row":R,"value":V,"interpolation":I}   I 0-3 or its name; optional
//   {"cmd":"delete_key","track":N,"row":R}

#include <cstdint>
#include <string>
#include <string_view>

enum class ControlCommandKind { State, Seek, Play, Pause, Loop, LoopOff, Reload, Screenshot, Quit, Tracks, Track, SetKey, DeleteKey };

struct ControlCommand {
  ControlCommandKind kind = ControlCommandKind::State;
  uint32_t ms = 0;    // seek
  uint32_t from = 0;  // loop
  uint32_t to = 0;
  std::string path;  // reload (empty: everything), screenshot
  std::string track;  // track, set_key, delete_key
  uint32_t row = 0;
  float value = 0;
  int interpolation = -1;  // set_key: -1 keeps the key's own, or step for a new key
};

// Reads one line (without its line end); false with the reason in error for text that is not a
// JSON object, a missing or unknown "cmd", and missing or out-of-range arguments.
bool ParseControlCommand(std::string_view line, ControlCommand& command, std::string& error);

// The answer line for a refused request: {"error":"..."}.
std::string ControlErrorAnswer(const std::string& reason);
