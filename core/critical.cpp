#include "core/critical.h"

#include "core/log.h"
#include "platform/fatal.h"

CORE_IMPLEMENT_DYNAMIC(CoreDebug, CoreObject)

void CoreCheck(bool condition, const char* text) {
  if (!condition) CoreFatal(text);
}

void CoreFatal(const char* text) { platform::FatalAppExit(text); }

void CoreFatal(const char* text, const char* subsystem, const std::string& detail) {
  platform::WriteFatalText(text);
  LogText(LogLevel::Error, subsystem, detail);
  platform::ExitWithFatalBox(text);
}

void CoreCheck(bool condition, const char* text, const char* subsystem, const std::string& detail) {
  if (!condition) CoreFatal(text, subsystem, detail);
}

void ShowCriticalBoxes(bool shown) { platform::SetFatalBoxesShown(shown); }
