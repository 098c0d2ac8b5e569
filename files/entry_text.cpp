#include "files/entry_text.h"

#include "files/core_file.h"

std::string ReadEntryText(const char* path) {
  CoreFile file(path, MODE_READ);
  std::string text(file.GetSize(), '\0');
  uint64_t got = file.Read(text.data(), text.size());
  text.resize(got);
  return text;
}
