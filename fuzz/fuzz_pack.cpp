// Pack reading from arbitrary bytes: the table, every lookup, and every reader of the file layer
// over each entry (whole reads, byte and line reads, word scanning, tokenizing).
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "files/core_file.h"
#include "files/core_file_stream.h"
#include "files/entry_text.h"
#include "files/pack_file.h"
#include "files/scan_format.h"
#include "files/text_document.h"

namespace {

constexpr size_t MAX_ENTRIES = 32;
constexpr int MAX_TOKENS = 256;

void ReadEntry(const std::string& name) {
  CoreFile file(name.c_str(), MODE_READ);
  std::vector<char> bytes(file.GetSize() + 16);
  file.Read(bytes.data(), bytes.size());
  file.Seek(0, 0);
  for (int i = 0; i < 8 && !file.IsEof(); ++i) file.GetChar();
  file.UngetChar('x');
  char line[64];
  file.GetLine(line, sizeof line);

  CoreFileStream stream(&file);
  stream.Seek(0, 1);
  int integer;
  float real;
  char word[SCAN_WORD_SIZE];
  stream.ScanFormat("%d %f %s", &integer, &real, word);

  TextDocument document;
  document.OpenText(name.c_str());
  for (int i = 0; i < MAX_TOKENS && !document.ReadToken().empty(); ++i) document.ExpectBrace();
  document.SkipBlock();
  ReadEntryText(name.c_str());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  std::vector<char> bytes(data, data + size);
  std::FILE* fp = fmemopen(bytes.data(), bytes.size(), "rb");
  if (!fp) return 0;
  PackTable table;
  if (table.Read(fp) != PackStatus::Ok) {
    std::fclose(fp);
    return 0;
  }
  std::vector<std::string> names;
  for (size_t i = 0; i < table.Entries().size() && i < MAX_ENTRIES; ++i) {
    names.emplace_back(PackEntryName(table.Entries()[i]));
  }
  InstallPackage(fp, std::move(table));
  for (const std::string& name : names) {
    // A name cut at an embedded zero may name no entry; the engine would stop there.
    if (PackageTable().Find(name.c_str())) ReadEntry(name);
  }
  ClosePackage();
  return 0;
}
