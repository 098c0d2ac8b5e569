#include "files/pack_writer.h"

#include "files/pack_table.h"

namespace {

void AppendLittleEndian32(std::string& out, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out += char((value >> shift) & 0xFF);
}

bool CheckName(const std::string& name, std::string& error) {
  if (name.empty()) {
    error = "an entry name is empty";
    return false;
  }
  if (name.size() > PACK_NAME_SIZE - 1) {
    error = "entry name longer than 255 bytes: " + name;
    return false;
  }
  if (name.find('\0') != std::string::npos) {
    error = "entry name contains a zero byte";
    return false;
  }
  return true;
}

}  // namespace

bool BuildPackTable(const std::vector<PackSource>& sources, std::string& table, std::string& error) {
  if (sources.empty()) {
    error = "a pack needs at least one entry";
    return false;
  }
  table.clear();
  table.append(szHeader, 8);
  AppendLittleEndian32(table, PACK_VERSION);
  AppendLittleEndian32(table, uint32_t(sources.size()));
  uint64_t offset = PACK_HEADER_SIZE + uint64_t(PACK_ENTRY_SIZE) * sources.size();
  for (const PackSource& source : sources) {
    if (!CheckName(source.name, error)) return false;
    if (offset > UINT32_MAX || offset + source.size > UINT32_MAX + uint64_t(1)) {
      error = "the pack would pass 4 GiB at " + source.name;
      return false;
    }
    std::string name = source.name;
    name.resize(PACK_NAME_SIZE, '\0');
    table += name;
    AppendLittleEndian32(table, uint32_t(offset));
    AppendLittleEndian32(table, uint32_t(source.size));
    offset += source.size;
  }
  return true;
}

bool BuildPackImage(const std::vector<std::pair<std::string, std::string>>& entries, std::string& image,
                    std::string& error) {
  std::vector<PackSource> sources;
  for (const auto& [name, bytes] : entries) sources.push_back({name, bytes.size()});
  if (!BuildPackTable(sources, image, error)) return false;
  for (const auto& entry : entries) image += entry.second;
  return true;
}
