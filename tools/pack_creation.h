#pragma once
// Writing a pack file from files on disk and bytes held in memory, in byte order of the entry
// names so that the same inputs always give the same pack. The pack is written beside the output
// first and renamed over it only when whole.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

struct PackInput {
  std::string name;             // the entry name, e.g. data\x\y.xml
  std::filesystem::path file;   // read from here when bytes is not used
  std::string bytes;
  bool inMemory = false;
};

// The pack entry name of a file below folder: the relative path with backslashes.
std::string PackEntryNameOf(const std::filesystem::path& file, const std::filesystem::path& folder);

// Every regular file under folder except skip (the pack being written, when it lies there).
bool CollectPackInputs(const std::filesystem::path& folder, const std::filesystem::path& skip,
                       std::vector<PackInput>& inputs, std::string& error);

// Sorts inputs by name and writes them as the pack output; false with error set otherwise (the
// old output, if any, is then left as it was).
bool WritePackFile(const std::string& output, std::vector<PackInput> inputs, std::string& error);

// Copies count bytes from in to out; false if in ends early or a write fails.
bool CopyStreamBytes(std::FILE* in, std::FILE* out, uint64_t count);
