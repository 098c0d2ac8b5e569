#pragma once
// The content folder the generators fill, laid out as a production's sources are: data\ as the
// pack holds it, models\*.mqo converted into data\model\ when the pack is built, music\*.score.
// Files whose bytes did not change are left untouched, so that the build redoes only what depends
// on what changed; files no longer generated are removed.

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

class GeneratedContent {
 public:
  void Add(const std::string& relativePath, std::vector<uint8_t> bytes);
  void Add(const std::string& relativePath, const std::string& text);
  // Every file below source, under prefix followed by its path relative to source.
  bool AddTree(const std::filesystem::path& source, const std::string& prefix, std::string& error);

  // Writes every file below root and removes the files below it that were not added. False with
  // error naming the file that could not be written.
  bool WriteTo(const std::filesystem::path& root, std::string& error) const;

  size_t Size() const { return mFiles.size(); }

 private:
  std::map<std::string, std::vector<uint8_t>> mFiles;
};
