#include "files/pack_table.h"

#include <algorithm>
#include <cstring>

namespace {

uint32_t LittleEndian32(const unsigned char* bytes) {
  return uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 | uint32_t(bytes[3]) << 24;
}

uint64_t StreamSize(std::FILE* fp) {
  if (fseeko(fp, 0, SEEK_END) != 0) return 0;
  off_t size = ftello(fp);
  return size < 0 ? 0 : uint64_t(size);
}

PackHeader DecodeHeader(const unsigned char* bytes) {
  PackHeader header;
  std::memcpy(header.header, bytes, sizeof header.header);
  header.version = LittleEndian32(bytes + 8);
  header.numEntries = LittleEndian32(bytes + 12);
  return header;
}

PackEntry DecodeEntry(const unsigned char* bytes) {
  PackEntry entry;
  std::memcpy(entry.name, bytes, PACK_NAME_SIZE);
  entry.offset = LittleEndian32(bytes + PACK_NAME_SIZE);
  entry.size = LittleEndian32(bytes + PACK_NAME_SIZE + 4);
  return entry;
}

PackStatus CheckHeader(const PackHeader& header) {
  if (std::memcmp(header.header, szHeader, std::strlen(szHeader)) != 0) return PackStatus::BadHeader;
  if (header.version != PACK_VERSION) return PackStatus::BadVersion;
  if (header.numEntries == 0) return PackStatus::NoEntries;
  return PackStatus::Ok;
}

}  // namespace

std::string_view PackEntryName(const PackEntry& entry) {
  const void* end = std::memchr(entry.name, 0, PACK_NAME_SIZE);
  size_t length = end ? size_t(static_cast<const char*>(end) - entry.name) : PACK_NAME_SIZE;
  return std::string_view(entry.name, length);
}

PackStatus PackTable::Read(std::FILE* fp) {
  mHeader = PackHeader{};
  mEntries.clear();
  mIndex.clear();
  mFileSize = StreamSize(fp);
  unsigned char headerBytes[PACK_HEADER_SIZE] = {};
  if (fseeko(fp, 0, SEEK_SET) == 0) {
    size_t got = std::fread(headerBytes, 1, sizeof headerBytes, fp);
    (void)got;  // a short header is zero-filled and fails the magic check
  }
  mHeader = DecodeHeader(headerBytes);
  PackStatus status = CheckHeader(mHeader);
  if (status != PackStatus::Ok) return status;

  uint64_t heldRecords = mFileSize > PACK_HEADER_SIZE ? (mFileSize - PACK_HEADER_SIZE) / PACK_ENTRY_SIZE : 0;
  uint64_t count = std::min<uint64_t>(mHeader.numEntries, heldRecords);
  std::vector<unsigned char> table(count * PACK_ENTRY_SIZE);
  count = std::fread(table.data(), 1, table.size(), fp) / PACK_ENTRY_SIZE;
  mEntries.reserve(count);
  for (uint64_t i = 0; i < count; ++i) mEntries.push_back(DecodeEntry(table.data() + i * PACK_ENTRY_SIZE));
  BuildIndex();
  return PackStatus::Ok;
}

void PackTable::BuildIndex() {
  mIndex.reserve(mEntries.size());
  for (uint32_t i = 0; i < mEntries.size(); ++i) mIndex.emplace(PackEntryName(mEntries[i]), i);
}

const PackEntry* PackTable::Find(std::string_view name) const {
  auto found = mIndex.find(name);
  return found == mIndex.end() ? nullptr : &mEntries[found->second];
}

uint32_t PackTable::HeldSize(const PackEntry& entry) const {
  if (entry.offset >= mFileSize) return 0;
  return uint32_t(std::min<uint64_t>(entry.size, mFileSize - entry.offset));
}
