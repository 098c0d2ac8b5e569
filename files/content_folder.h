#pragma once
// Loose files standing in for pack entries, for the developer mode: a content folder laid out as
// the pack is (the entry "data\x\y.png" is the file DIR/data/x/y.png). A loose file wins over
// the pack's entry of the same name. A model cache ("x.bmdl") is converted from the Metasequoia
// document beside it ("x.mqo") when that is newer or the cache is missing, as the build does.
// No folder is set in the player, which reads the pack alone.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

using LooseBytes = std::shared_ptr<const std::vector<uint8_t>>;

// "" turns loose files off (the default).
void SetLooseContentFolder(const std::filesystem::path& folder);
const std::filesystem::path& LooseContentFolder();

// The file that stands in for the entry name: the folder joined with name's components, split at
// "\". Empty without a folder, for a name with "/" (the pack would not match it either) and for a
// name that would leave the folder.
std::filesystem::path LooseFilePath(std::string_view name);

// The pack name of a file below the content folder ("data/x/y.png" becomes "data\x\y.png"); empty
// for a path outside it.
std::string PackNameOfLooseFile(const std::filesystem::path& file);

// Whether a loose file stands in for the entry name (a model cache's document counts).
bool LooseEntryExists(const std::string& name);

// The bytes standing in for the entry name, or null when no loose file does (no folder, no such
// file) or it cannot be read. A Metasequoia document that does not convert is logged (once per
// version) and gives null too.
LooseBytes ReadLooseEntry(const std::string& name);

// The model cache bytes of a Metasequoia document stored as the entry name: what the build's
// converter writes. False with the reason in error.
bool ConvertMqoEntry(const std::vector<uint8_t>& text, const std::string& name, std::vector<uint8_t>& cache,
                     std::string& error);
