#include "shell/big_screen_wait.h"

#include <chrono>
#include <thread>

#include "platform/events.h"
#include "platform/key_codes.h"
#include "platform/timer.h"

bool WaitForBigScreen(uint32_t durationMs) {
  uint32_t start = platform::TimeGetTime();
  while (platform::TimeGetTime() - start < durationMs) {
    platform::Event event;
    if (!platform::PollEvent(&event)) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
      continue;
    }
    if (event.type == platform::EventType::Quit) return false;
    if (event.type == platform::EventType::Char && event.character == platform::KEY_ESCAPE) return false;
    if (event.type == platform::EventType::None) continue;
    platform::TranslateEvent(event);
    platform::DispatchEvent(event);
  }
  return true;
}
