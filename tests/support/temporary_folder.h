#pragma once
// A fresh folder under /tmp for one test, removed with everything in it when the object goes.

#include <filesystem>
#include <string>

class TemporaryFolder {
 public:
  TemporaryFolder();
  ~TemporaryFolder();
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;

  const std::filesystem::path& Path() const { return mPath; }
  std::string operator/(const std::string& relative) const { return (mPath / relative).string(); }

 private:
  std::filesystem::path mPath;
};

// The whole of a file, or "" when it cannot be read.
std::string ReadTextFile(const std::filesystem::path& path);
// Writes text as the whole of the file, making its folder; false when it cannot.
bool WriteTextFile(const std::filesystem::path& path, const std::string& text);
