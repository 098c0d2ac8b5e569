// The token reader over an arbitrary text entry.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "files/pack_file.h"
#include "files/pack_writer.h"
#include "files/text_document.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  std::string image, error;
  if (!BuildPackImage({{"data\\scene\\fuzz.tdf", text}}, image, error)) return 0;
  std::FILE* fp = fmemopen(image.data(), image.size(), "rb");
  if (!fp) return 0;
  PackTable table;
  table.Read(fp);
  InstallPackage(fp, std::move(table));
  TextDocument document;
  document.OpenText("data\\scene\\fuzz.tdf");
  // Each token takes at least one byte of text, plus one empty token per split, so the text runs
  // out long before this bound; running into it means AtEnd never came true.
  size_t tokens = 0;
  for (; !document.AtEnd(); ++tokens) {
    if (tokens > 2 * size + 4) __builtin_trap();
    std::string token = document.ReadToken();
    if (token == "{") document.SkipBlock();
    if (token == "}") document.ExpectBrace();
  }
  if (!document.ReadToken().empty()) __builtin_trap();
  document.CloseText();
  ClosePackage();
  return 0;
}
