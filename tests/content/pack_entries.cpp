#include "tests/content/pack_entries.h"

#include <cstdio>
#include <fstream>
#include <memory>

#include "files/pack_table.h"
#include "files/pack_writer.h"

PackEntries ReadPackEntries(const std::string& path) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
  PackEntries entries;
  PackTable table;
  if (!file || table.Read(file.get()) != PackStatus::Ok) return entries;
  for (const PackEntry& entry : table.Entries()) {
    std::string bytes(table.HeldSize(entry), '\0');
    std::fseek(file.get(), static_cast<long>(entry.offset), SEEK_SET);
    if (std::fread(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) return {};
    entries.emplace_back(std::string(PackEntryName(entry)), std::move(bytes));
  }
  return entries;
}

bool WritePackEntries(const PackEntries& entries, const std::string& path) {
  std::string image, error;
  if (!BuildPackImage(entries, image, error)) return false;
  std::ofstream out(path, std::ios::binary);
  out.write(image.data(), static_cast<std::streamsize>(image.size()));
  return static_cast<bool>(out);
}

const std::string* FindEntry(const PackEntries& entries, const std::string& name) {
  for (const auto& [entryName, bytes] : entries) {
    if (entryName == name) return &bytes;
  }
  return nullptr;
}
