#pragma once
// The debug text output: frame rates, key help, screen state. It goes to the log at the debug
// level, which reaches no one unless asked for (TORVANE_LOG=debug, or a log sink).

void DebugText(const char* format, ...) __attribute__((format(printf, 1, 2)));
