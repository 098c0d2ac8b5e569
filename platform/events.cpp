#include "platform/events.h"

#include <SDL2/SDL.h>

#include "platform/key_codes.h"
#include "platform/window.h"

namespace platform {

namespace {

constexpr int WHEEL_DELTA = 120;

// Char events queued by TranslateEvent, delivered before the next SDL event.
constexpr int PENDING_CHARS_SIZE = 16;
Event gPendingChars[PENDING_CHARS_SIZE];
int gPendingCount = 0;

// SDL's own quit events carry no code; PostQuit's code is kept here.
int gQuitCode = 0;

NativeEventObserver gNativeEventObserver = nullptr;

uintptr_t ButtonState(uint32_t sdlState) {
  uintptr_t state = 0;
  if (sdlState & SDL_BUTTON_LMASK) state |= BUTTON_STATE_LEFT;
  if (sdlState & SDL_BUTTON_RMASK) state |= BUTTON_STATE_RIGHT;
  if (sdlState & SDL_BUTTON_MMASK) state |= BUTTON_STATE_MIDDLE;
  return state;
}

// -1 for buttons the engine does not name.
int ButtonIndex(uint8_t sdlButton) {
  switch (sdlButton) {
    case SDL_BUTTON_LEFT: return 0;
    case SDL_BUTTON_RIGHT: return 1;
    case SDL_BUTTON_MIDDLE: return 2;
    default: return -1;
  }
}

void FromKey(const SDL_KeyboardEvent& key, Event* event) {
  bool alt = (key.keysym.mod & KMOD_ALT) != 0;
  bool down = key.type == SDL_KEYDOWN;
  event->type = alt ? (down ? EventType::SysKeyDown : EventType::SysKeyUp) : (down ? EventType::KeyDown : EventType::KeyUp);
  event->window = FindWindow(key.windowID);
  event->key = KeyCodeFromSdl(key.keysym.sym);
  event->param = event->key;
  event->repeat = key.repeat != 0;
  event->shift = (key.keysym.mod & KMOD_SHIFT) != 0;
  event->control = (key.keysym.mod & KMOD_CTRL) != 0;
}

// The first character of UTF-8 text; malformed bytes count as themselves.
uint32_t FirstCodePoint(const char* text) {
  auto byte = [&](int i) { return static_cast<uint32_t>(static_cast<unsigned char>(text[i])); };
  uint32_t lead = byte(0);
  int length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
  if (length == 1) return lead;
  uint32_t code = lead & (0x3Fu >> (length - 1));
  for (int i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return lead;
    code = (code << 6) | (byte(i) & 0x3F);
  }
  return code;
}

void FromText(const SDL_TextInputEvent& text, Event* event) {
  event->type = EventType::Char;
  event->window = FindWindow(text.windowID);
  event->character = FirstCodePoint(text.text);
  event->param = event->character;
}

void FromMotion(const SDL_MouseMotionEvent& motion, Event* event) {
  event->type = EventType::MouseMove;
  event->window = FindWindow(motion.windowID);
  event->x = static_cast<int16_t>(motion.x);
  event->y = static_cast<int16_t>(motion.y);
  event->param = ButtonState(motion.state);
  if (event->window) FollowWindowDrag(event->window, false);
}

void FromButton(const SDL_MouseButtonEvent& button, Event* event) {
  int index = ButtonIndex(button.button);
  if (index < 0) {
    event->type = EventType::Other;
    return;
  }
  bool down = button.type == SDL_MOUSEBUTTONDOWN;
  event->type = down ? EventType::ButtonDown : EventType::ButtonUp;
  event->window = FindWindow(button.windowID);
  event->x = static_cast<int16_t>(button.x);
  event->y = static_cast<int16_t>(button.y);
  event->button = index;
  event->param = ButtonState(SDL_GetMouseState(nullptr, nullptr));
  if (!down && index == 0 && event->window) FollowWindowDrag(event->window, true);
}

void FromWheel(const SDL_MouseWheelEvent& wheel, Event* event) {
  event->type = EventType::Wheel;
  event->window = FindWindow(wheel.windowID);
  int notches = wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -wheel.y : wheel.y;
  event->wheelDelta = notches * WHEEL_DELTA;
  event->param = static_cast<uintptr_t>(static_cast<uint16_t>(static_cast<int16_t>(event->wheelDelta))) << 16;
}

void FromSdl(const SDL_Event& sdl, Event* event) {
  *event = Event{};
  switch (sdl.type) {
    case SDL_QUIT:
      event->type = EventType::Quit;
      event->param = static_cast<uintptr_t>(static_cast<intptr_t>(gQuitCode));
      break;
    case SDL_KEYDOWN:
    case SDL_KEYUP: FromKey(sdl.key, event); break;
    case SDL_TEXTINPUT: FromText(sdl.text, event); break;
    case SDL_MOUSEMOTION: FromMotion(sdl.motion, event); break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: FromButton(sdl.button, event); break;
    case SDL_MOUSEWHEEL: FromWheel(sdl.wheel, event); break;
    default:
      event->type = EventType::Other;
      if (sdl.type == SDL_WINDOWEVENT) event->window = FindWindow(sdl.window.windowID);
      break;
  }
}

bool TakePendingChar(Event* event) {
  if (gPendingCount == 0) return false;
  *event = gPendingChars[0];
  for (int i = 1; i < gPendingCount; ++i) gPendingChars[i - 1] = gPendingChars[i];
  --gPendingCount;
  return true;
}

// Keys whose press types a control character, as the system's key translation does.
uint32_t ControlCharacter(uint32_t key) {
  switch (key) {
    case KEY_ESCAPE: case KEY_RETURN: case KEY_TAB: case KEY_BACK: return key;
    default: return 0;
  }
}

}  // namespace

bool PollEvent(Event* event) {
  if (TakePendingChar(event)) return true;
  SDL_Event sdl;
  if (!SDL_PollEvent(&sdl)) return false;
  if (gNativeEventObserver) gNativeEventObserver(&sdl);
  FromSdl(sdl, event);
  return true;
}

void TranslateEvent(const Event& event) {
  if (event.type != EventType::KeyDown && event.type != EventType::SysKeyDown) return;
  uint32_t character = ControlCharacter(event.key);
  if (character == 0 || gPendingCount == PENDING_CHARS_SIZE) return;
  Event typed;
  typed.type = EventType::Char;
  typed.window = event.window;
  typed.character = character;
  typed.param = character;
  gPendingChars[gPendingCount++] = typed;
}

intptr_t DispatchEvent(const Event& event) { return event.window ? CallWindowProcedure(event.window, event) : 0; }

void PostQuit(int exitCode) {
  gQuitCode = exitCode;
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  SDL_PushEvent(&quit);
}

void EnableTextInput(bool enabled) {
  if (enabled) {
    SDL_StartTextInput();
  } else {
    SDL_StopTextInput();
  }
}

}  // namespace platform

namespace platform {

void SetNativeEventObserver(NativeEventObserver observer) { gNativeEventObserver = observer; }

}  // namespace platform
