#pragma once
// A pack file's entries as name and bytes, read whole, and a pack written from such a list: for
// tests that look into a built production or take something out of it.

#include <string>
#include <utility>
#include <vector>

using PackEntries = std::vector<std::pair<std::string, std::string>>;

// Every entry of the pack at path in table order; empty when it cannot be read.
PackEntries ReadPackEntries(const std::string& path);
// Writes entries as a pack at path; false when it cannot.
bool WritePackEntries(const PackEntries& entries, const std::string& path);
// The bytes of the entry named name, or null.
const std::string* FindEntry(const PackEntries& entries, const std::string& name);
