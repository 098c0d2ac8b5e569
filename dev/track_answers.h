#pragma once
// The control channel's answers about sync tracks: the list, one track's keys, setting and
// deleting a key. Each is one JSON line, {"ok":true,...} or {"error":"..."}.

#include <cstdint>
#include <string>

#include "dev/control_command.h"

class TrackEditor;

// Answers a Tracks, Track, SetKey or DeleteKey command; t is the playhead's demo time.
std::string AnswerTrackCommand(const ControlCommand& command, TrackEditor& editor, uint32_t t);
