#include "platform/key_codes.h"

#include <SDL2/SDL.h>

namespace platform {

namespace {

struct KeyPair {
  SDL_Keycode sdl;
  uint32_t code;
};

constexpr KeyPair NAMED_KEYS[] = {
    {SDLK_BACKSPACE, KEY_BACK}, {SDLK_TAB, KEY_TAB},         {SDLK_RETURN, KEY_RETURN},  {SDLK_KP_ENTER, KEY_RETURN},
    {SDLK_LSHIFT, KEY_SHIFT},   {SDLK_RSHIFT, KEY_SHIFT},    {SDLK_LCTRL, KEY_CONTROL},  {SDLK_RCTRL, KEY_CONTROL},
    {SDLK_LALT, KEY_MENU},      {SDLK_RALT, KEY_MENU},       {SDLK_PAUSE, KEY_PAUSE},    {SDLK_ESCAPE, KEY_ESCAPE},
    {SDLK_SPACE, KEY_SPACE},    {SDLK_PAGEUP, KEY_PRIOR},    {SDLK_PAGEDOWN, KEY_NEXT},  {SDLK_END, KEY_END},
    {SDLK_HOME, KEY_HOME},      {SDLK_LEFT, KEY_LEFT},       {SDLK_UP, KEY_UP},          {SDLK_RIGHT, KEY_RIGHT},
    {SDLK_DOWN, KEY_DOWN},      {SDLK_INSERT, KEY_INSERT},   {SDLK_DELETE, KEY_DELETE},
    {SDLK_LEFTBRACKET, KEY_LEFT_BRACKET}, {SDLK_RIGHTBRACKET, KEY_RIGHT_BRACKET},
};

}  // namespace

uint32_t KeyCodeFromSdl(int32_t sdlKeycode) {
  if (sdlKeycode >= SDLK_a && sdlKeycode <= SDLK_z) return static_cast<uint32_t>('A' + (sdlKeycode - SDLK_a));
  if (sdlKeycode >= SDLK_0 && sdlKeycode <= SDLK_9) return static_cast<uint32_t>(sdlKeycode);
  if (sdlKeycode >= SDLK_F1 && sdlKeycode <= SDLK_F12) return KEY_F1 + static_cast<uint32_t>(sdlKeycode - SDLK_F1);
  for (const KeyPair& pair : NAMED_KEYS) {
    if (pair.sdl == sdlKeycode) return pair.code;
  }
  return 0;
}

}  // namespace platform
