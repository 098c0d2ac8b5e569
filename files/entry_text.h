#pragma once
// Reads a whole pack entry as zero-terminated text, the way the text formats and definition files
// load themselves: a buffer of size + 1 zero bytes with the entry's bytes read into it.

#include <string>

// The entry's bytes (a missing entry is a critical error). The result's c_str() is the
// zero-terminated text; bytes after an embedded zero stay in the string.
std::string ReadEntryText(const char* path);
