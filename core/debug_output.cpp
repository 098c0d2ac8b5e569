#include "core/debug_output.h"

#include <cstdarg>

#include "core/log.h"

void DebugText(const char* format, ...) {
  if (!LogWanted(LogLevel::Debug)) return;
  va_list args;
  va_start(args, format);
  std::string text = FormatText(format, args);
  va_end(args);
  LogText(LogLevel::Debug, "debug", text);
}
