#include "platform/web/browser_page.h"

#include <emscripten.h>
#include <emscripten/eventloop.h>
#include <emscripten/html5.h>

namespace platform {

namespace {

bool gFloatTargets = false;

}  // namespace

bool CreateCanvasContext(int width, int height, bool keepPicture) {
  emscripten_set_canvas_element_size("#canvas", width, height);
  EmscriptenWebGLContextAttributes attributes;
  emscripten_webgl_init_context_attributes(&attributes);
  attributes.majorVersion = 2;
  attributes.minorVersion = 0;
  attributes.alpha = false;
  attributes.depth = true;
  attributes.stencil = true;
  // The engine resolves its own multisampling into its buffers; the canvas only shows the result.
  attributes.antialias = false;
  attributes.preserveDrawingBuffer = keepPicture;
  attributes.enableExtensionsByDefault = true;
  EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context = emscripten_webgl_create_context("#canvas", &attributes);
  if (context <= 0) return false;
  if (emscripten_webgl_make_context_current(context) != EMSCRIPTEN_RESULT_SUCCESS) return false;
  gFloatTargets = emscripten_webgl_enable_extension(context, "EXT_color_buffer_float");
  return true;
}

bool CanvasHasFloatTargets() { return gFloatTargets; }

void RunBrowserLoop(void (*step)(void* user), void* user) {
  emscripten_set_main_loop_arg(step, user, 0, false);
}

void EndBrowserLoop() { emscripten_cancel_main_loop(); }

void RunBrowserTimer(void (*tick)(void* user), void* user, double intervalMs) {
  emscripten_set_interval(tick, intervalMs, user);
}

void YieldToBrowser() { emscripten_sleep(0); }

void ShowPageMessage(const char* title, const char* text) {
  EM_ASM({ Module.torvanePage.showMessage(UTF8ToString($0), UTF8ToString($1)); }, title, text);
}

void ReportPageState(const char* state) {
  EM_ASM({ Module.torvanePage.reportState(UTF8ToString($0)); }, state);
}

int PageEscapeCount() { return EM_ASM_INT({ return Module.torvanePage.escapes; }); }

}  // namespace platform
