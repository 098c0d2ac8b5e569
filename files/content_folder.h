#pragma once
// Loose files standing in for pack entries, for the developer mode: a content folder laid out as
// the pack is (the entry "data\x\y.png" is the file DIR/data/x/y.png), as `torvane-tool build`
// reads it. A loose file wins over the pack's entry of the same name. Model caches are converted
// from Metasequoia documents as the build does: "data\model\NAME.bmdl" from DIR/models/NAME.mqo
// when there is one (it replaces any cache), else a cache from the document beside it
// (DIR/data/.../NAME.mqo) when that is newer or the cache is missing. No folder is set in the
// player, which reads the pack alone.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// Where the build keeps the Metasequoia sources, and the pack folder their caches go to.
inline constexpr char CONTENT_MODELS_FOLDER[] = "models";
inline constexpr char CONTENT_MODEL_PACK_FOLDER[] = "data\\model\\";

using LooseBytes = std::shared_ptr<const std::vector<uint8_t>>;

// "" turns loose files off (the default).
void SetLooseContentFolder(const std::filesystem::path& folder);
const std::filesystem::path& LooseContentFolder();

// The file that stands in for the entry name: the folder joined with name's components, split at
// "\". Empty without a folder, for a name with "/" (the pack would not match it either) and for a
// name that would leave the folder.
std::filesystem::path LooseFilePath(std::string_view name);

// The pack name of a file below the content folder ("data/x/y.png" becomes "data\x\y.png", and
// "models/NAME.mqo" the document "data\model\NAME.mqo" whose cache it makes); empty for a path
// outside it.
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
