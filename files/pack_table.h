#pragma once
// The pack's header and entry table, read from an open stream. Pure: no process-wide state and no
// critical checks, so tools and fuzzers can read any bytes and get a status back.

#include <cstdint>
#include <cstdio>
#include <string_view>
#include <unordered_map>
#include <vector>

inline constexpr char szHeader[] = "NUXAPACK";
inline constexpr const char PACK_FILE_NAME[] = "torvane.pak";
constexpr uint32_t PACK_VERSION = 1;
constexpr uint32_t PACK_HEADER_SIZE = 16;
constexpr uint32_t PACK_NAME_SIZE = 256;
constexpr uint32_t PACK_ENTRY_SIZE = 264;

struct PackHeader {
  char header[8];
  uint32_t version;
  uint32_t numEntries;
};

// One table record. name is zero-padded; a name that fills all 256 bytes has no terminator.
struct PackEntry {
  char name[PACK_NAME_SIZE];
  uint32_t offset;
  uint32_t size;
};

// The stored name without its padding (at most 256 bytes, even without a terminator).
std::string_view PackEntryName(const PackEntry& entry);

enum class PackStatus { Ok, BadHeader, BadVersion, NoEntries };

class PackTable {
 public:
  PackTable() = default;
  PackTable(PackTable&&) = default;
  PackTable& operator=(PackTable&&) = default;
  PackTable(const PackTable&) = delete;
  PackTable& operator=(const PackTable&) = delete;

  // Reads the header and the table from the start of fp. The status reports the first failed
  // header check. A table that claims more records than the file holds keeps only the records that
  // are wholly present, so a lying count never causes a large allocation.
  PackStatus Read(std::FILE* fp);

  const PackHeader& Header() const { return mHeader; }
  const std::vector<PackEntry>& Entries() const { return mEntries; }
  uint64_t FileSize() const { return mFileSize; }

  // The first record whose name equals name byte for byte, or null.
  const PackEntry* Find(std::string_view name) const;

  // The entry's size cut to the bytes the file holds from its offset on (0 when the offset lies
  // past the end), so that no reader sizes a buffer from a size the file cannot back.
  uint32_t HeldSize(const PackEntry& entry) const;

 private:
  void BuildIndex();

  PackHeader mHeader{};
  std::vector<PackEntry> mEntries;
  uint64_t mFileSize = 0;
  // Name to the index of its first record; later records with the same name are never reached.
  std::unordered_map<std::string_view, uint32_t> mIndex;
};
