#pragma once
// The developer mode's keys: what each key press asks for. docs/dev-mode.md lists them.

#include <cstdint>

enum class DevAction {
  None,
  TogglePlay,        // Space
  SeekBackSecond,    // Left
  SeekForwardSecond, // Right
  SeekBackTen,       // Shift+Left
  SeekForwardTen,    // Shift+Right
  PreviousBoundary,  // Page Up: the previous cut or scene boundary
  NextBoundary,      // Page Down
  SeekStart,         // Home
  LoopIn,            // [
  LoopOut,           // ]
  ToggleLoop,        // L
  ToggleMute,        // M
  ToggleHalfSpeed,   // S
  ToggleInterface,   // F1
  Screenshot,        // F3
  ReloadAll,         // F5
};

// The action of a key press (key codes of platform/key_codes.h) with or without Shift.
// The seeks on the left and right arrows.
bool IsArrowSeek(DevAction action);

DevAction DevActionForKey(uint32_t key, bool shift);
