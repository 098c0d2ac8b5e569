#pragma once
// The debug text output: a printf-style sink that discards its text. Callers still format
// their messages here so that a developer mode can give the sink a destination later.

void DebugText(const char* format, ...) __attribute__((format(printf, 1, 2)));
