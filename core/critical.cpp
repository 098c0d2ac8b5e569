#include "core/critical.h"

#include "platform/fatal.h"

CORE_IMPLEMENT_DYNAMIC(CoreDebug, CoreObject)

void CoreCheck(bool condition, const char* text) {
  if (!condition) CoreFatal(text);
}

void CoreFatal(const char* text) { platform::FatalAppExit(text); }
