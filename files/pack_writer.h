#pragma once
// Building packs: the header and entry table for entries whose bytes follow the table one after
// another in the given order. Names are stored zero-padded to 256 bytes, offsets absolute.

#include <cstdint>
#include <string>
#include <vector>

struct PackSource {
  std::string name;  // the entry name as the engine asks for it, e.g. data\x\y.xml
  uint64_t size;     // the entry's length in bytes
};

// The header and table bytes for sources, or false with error set when there are no sources, a
// name is empty or longer than 255 bytes, or an offset would not fit in 32 bits.
bool BuildPackTable(const std::vector<PackSource>& sources, std::string& table, std::string& error);

// A whole pack in memory: the table followed by each entry's bytes. For small packs (tests).
bool BuildPackImage(const std::vector<std::pair<std::string, std::string>>& entries, std::string& image,
                    std::string& error);
