#pragma once
// The event pump: SDL events as the window messages that the engine's loop expects. An event is
// taken off the queue (PollEvent), translated (TranslateEvent queues the character of a key, as
// Escape's 27), and dispatched to its window's procedure (DispatchEvent).

#include <cstdint>

namespace platform {

struct Window;

enum class EventType {
  None,        // nothing: the loop drops it
  Quit,        // param: the exit code given to PostQuit
  KeyDown,     // key: key code (key_codes.h); repeat when auto-repeated
  KeyUp,
  SysKeyDown,  // a key pressed while Alt is held
  SysKeyUp,
  Char,        // character: the typed character (Escape gives 27)
  MouseMove,   // x, y: client coordinates
  ButtonDown,  // x, y, button: 0 left, 1 right, 2 middle
  ButtonUp,
  Wheel,       // wheelDelta: 120 per notch, positive away from the user
  Other,       // anything else the window system reports
};

// Button state bits of mouse events' param.
constexpr uintptr_t BUTTON_STATE_LEFT = 0x1;
constexpr uintptr_t BUTTON_STATE_RIGHT = 0x2;
constexpr uintptr_t BUTTON_STATE_MIDDLE = 0x10;

struct Event {
  EventType type = EventType::None;
  Window* window = nullptr;  // the window it belongs to; null for Quit and unknown windows
  uintptr_t param = 0;       // the message's first parameter: key code, character, exit code, button state
  uint32_t key = 0;
  uint32_t character = 0;
  bool repeat = false;
  bool shift = false;    // Shift held with a key
  bool control = false;  // Ctrl held with a key
  int x = 0;
  int y = 0;
  int button = 0;
  int wheelDelta = 0;
};

// Takes the next event off the queue; false when none is waiting. Keeps dragged windows moving.
bool PollEvent(Event* event);
// Queues the Char event of a KeyDown that types a control character (Escape, Return, Tab, Back).
void TranslateEvent(const Event& event);
// Hands the event to its window's procedure; 0 for events without a window.
intptr_t DispatchEvent(const Event& event);
// Queues a Quit event with the exit code.
void PostQuit(int exitCode);
// Starts or stops SDL text input, which produces the Char events of printable keys.
void EnableTextInput(bool enabled);

// Sees every window-system event PollEvent takes, before it is translated (the developer mode's
// interface reads its input this way); null for none.
using NativeEventObserver = void (*)(const void* nativeEvent);
void SetNativeEventObserver(NativeEventObserver observer);

}  // namespace platform
