#pragma once
// The timeline entries that put an imported scene animation on a scene line: its TdfEntry in
// tdfDefine.xml and its SceneLineEntry in sceneLineDefine.xml, added to (or replacing, by tdfId)
// what the files hold, the rest of their text kept as it is.

#include <cstdint>
#include <string>

struct SceneLinePlacement {
  std::string animation;  // tdfId and data\tdf\NAME.tdf
  int line = 0;
  int64_t startMs = 0;
  int64_t endMs = 0;
};

std::string TdfEntryText(const std::string& animation);
std::string SceneLineEntryText(const SceneLinePlacement& span);

// The definition text with the entry in it. text may be empty (no file yet).
std::string WithTdfEntry(const std::string& text, const std::string& animation);
std::string WithSceneLineEntry(const std::string& text, const SceneLinePlacement& span);

// Parses "STIME:ETIME" in whole milliseconds, start before end.
bool ParseSpan(const std::string& text, SceneLinePlacement& span, std::string& error);
