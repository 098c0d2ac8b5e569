#include "core/debug_output.h"

void DebugText(const char*, ...) {}
