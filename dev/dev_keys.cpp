#include "dev/dev_keys.h"

#include "platform/key_codes.h"

DevAction DevActionForKey(uint32_t key, bool shift) {
  using namespace platform;
  switch (key) {
    case KEY_SPACE: return DevAction::TogglePlay;
    case KEY_LEFT: return shift ? DevAction::SeekBackTen : DevAction::SeekBackSecond;
    case KEY_RIGHT: return shift ? DevAction::SeekForwardTen : DevAction::SeekForwardSecond;
    case KEY_PRIOR: return DevAction::PreviousBoundary;
    case KEY_NEXT: return DevAction::NextBoundary;
    case KEY_HOME: return DevAction::SeekStart;
    case KEY_LEFT_BRACKET: return DevAction::LoopIn;
    case KEY_RIGHT_BRACKET: return DevAction::LoopOut;
    case 'L': return DevAction::ToggleLoop;
    case 'M': return DevAction::ToggleMute;
    case 'S': return DevAction::ToggleHalfSpeed;
    case KEY_F1: return DevAction::ToggleInterface;
    case KEY_F3: return DevAction::Screenshot;
    case KEY_F5: return DevAction::ReloadAll;
    default: return DevAction::None;
  }
}

bool IsArrowSeek(DevAction action) {
  return action == DevAction::SeekBackSecond || action == DevAction::SeekForwardSecond ||
         action == DevAction::SeekBackTen || action == DevAction::SeekForwardTen;
}
