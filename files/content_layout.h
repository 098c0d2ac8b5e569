#pragma once
// A production as its author keeps it, a content folder, and how its files map to pack entries:
//   DIR/data/...          the files of the pack under their pack paths (data/x/y.png is data\x\y.png)
//   DIR/models/NAME.mqo   Metasequoia sources, each converted into the cache data\model\NAME.bmdl
//   DIR/music/NAME.score  the music score, synthesised into music.ogg; or DIR/music/music.ogg as is
// The build, the checker and the developer mode's loose files all read the folder through these.

#include <filesystem>
#include <string>
#include <string_view>

namespace files {

inline constexpr char CONTENT_DATA_FOLDER[] = "data";
inline constexpr char CONTENT_MODELS_FOLDER[] = "models";
inline constexpr char CONTENT_MUSIC_FOLDER[] = "music";
// The pack folder the models' caches go to.
inline constexpr char CONTENT_MODEL_PACK_FOLDER[] = "data\\model\\";
inline constexpr std::string_view MODEL_CACHE_EXTENSION = ".bmdl";
inline constexpr std::string_view MQO_EXTENSION = ".mqo";

// The pack name of a path relative to the folder: its components joined with "\" ("." left out).
std::string PackNameOfRelativePath(const std::filesystem::path& relative);

// "data\model\NAME.bmdl" for the source models/NAME.mqo (given by its file name NAME.mqo).
std::string ModelCacheNameOfSource(const std::filesystem::path& source);

// The source under models/ (relative to the folder) that the entry name is made from:
// models/NAME.mqo for data\model\NAME.bmdl or its document data\model\NAME.mqo; empty for any
// other name.
std::filesystem::path ModelSourceOfEntry(std::string_view name);

bool EndsWith(std::string_view text, std::string_view end);

}  // namespace files
