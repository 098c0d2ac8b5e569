#pragma once
// Key codes as the engine's input listeners see them: the Windows virtual-key numbering, so that
// Escape is 27 and F4 is 115. Letters are their upper-case character, digits their character.

#include <cstdint>

namespace platform {

constexpr uint32_t KEY_BACK = 8;
constexpr uint32_t KEY_TAB = 9;
constexpr uint32_t KEY_RETURN = 13;
constexpr uint32_t KEY_SHIFT = 16;
constexpr uint32_t KEY_CONTROL = 17;
constexpr uint32_t KEY_MENU = 18;  // Alt
constexpr uint32_t KEY_PAUSE = 19;
constexpr uint32_t KEY_ESCAPE = 27;
constexpr uint32_t KEY_SPACE = 32;
constexpr uint32_t KEY_PRIOR = 33;
constexpr uint32_t KEY_NEXT = 34;
constexpr uint32_t KEY_END = 35;
constexpr uint32_t KEY_HOME = 36;
constexpr uint32_t KEY_LEFT = 37;
constexpr uint32_t KEY_UP = 38;
constexpr uint32_t KEY_RIGHT = 39;
constexpr uint32_t KEY_DOWN = 40;
constexpr uint32_t KEY_INSERT = 45;
constexpr uint32_t KEY_DELETE = 46;
constexpr uint32_t KEY_F1 = 112;
constexpr uint32_t KEY_F3 = 114;
constexpr uint32_t KEY_F4 = 115;
constexpr uint32_t KEY_F5 = 116;
constexpr uint32_t KEY_F12 = 123;
constexpr uint32_t KEY_LEFT_BRACKET = 219;   // "[" on a US layout
constexpr uint32_t KEY_RIGHT_BRACKET = 221;  // "]"

// The key code of an SDL key symbol; 0 for keys without one.
uint32_t KeyCodeFromSdl(int32_t sdlKeycode);

}  // namespace platform
