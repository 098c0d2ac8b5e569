// Inside the browser a web address opens in a new tab.
#include "platform/web_page.h"

#include <emscripten.h>

namespace platform {

bool OpenWebPage(const char* address) {
  return EM_ASM_INT({ return window.open(UTF8ToString($0), "_blank") ? 1 : 0; }, address) != 0;
}

}  // namespace platform
