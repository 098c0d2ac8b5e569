#include "files/output_file.h"

#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

std::string FolderOf(const std::string& file) {
  const fs::path folder = fs::path(file).parent_path();
  return folder.empty() ? std::string(".") : folder.string();
}

// The first folder above path (or path itself) that exists, where a missing chain starts.
fs::path NearestExisting(fs::path path) {
  std::error_code ignored;
  while (!path.empty() && !fs::exists(path, ignored)) path = path.parent_path();
  return path.empty() ? fs::path(".") : path;
}

bool DiskIsFull(const std::string& folder) {
  struct statvfs space {};
  return statvfs(folder.c_str(), &space) == 0 && space.f_bavail == 0;
}

std::string Reason(const std::string& folder, int errorNumber) {
  std::error_code ignored;
  if (!fs::exists(folder, ignored)) return "the folder " + folder + " does not exist";
  if (!fs::is_directory(folder, ignored)) return folder + " is not a folder";
  if (errorNumber == ENOSPC || errorNumber == EDQUOT || DiskIsFull(folder)) return "the disk is full";
  if (errorNumber == EACCES || errorNumber == EPERM || access(folder.c_str(), W_OK) != 0) {
    return "the folder " + folder + " is not writable";
  }
  if (errorNumber == EROFS) return "the folder " + folder + " is on a read-only disk";
  return errorNumber != 0 ? std::strerror(errorNumber) : "the write did not complete";
}

}  // namespace

std::string WriteFailure(const std::string& file, int errorNumber) {
  std::error_code ignored;
  if (fs::is_directory(file, ignored)) return "cannot write " + file + ": it is a folder";
  return "cannot write " + file + ": " + Reason(FolderOf(file), errorNumber);
}

bool MakeOutputFolder(const std::string& folder, std::string& error) {
  std::error_code code;
  if (fs::is_directory(folder, code)) return true;
  fs::create_directories(folder, code);
  if (!code) return true;
  error = "cannot make the folder " + folder + ": " + Reason(NearestExisting(folder).string(), code.value());
  return false;
}

bool MakeFolderFor(const std::string& file, std::string& error) { return MakeOutputFolder(FolderOf(file), error); }

bool WriteOutputFile(const std::string& file, const std::vector<uint8_t>& bytes, std::string& error) {
  if (!MakeFolderFor(file, error)) return false;
  errno = 0;
  std::FILE* out = std::fopen(file.c_str(), "wb");
  if (!out) {
    error = WriteFailure(file, errno);
    return false;
  }
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
  int failure = errno;
  const bool closed = std::fclose(out) == 0;
  if (!closed && failure == 0) failure = errno;
  if (written && closed) return true;
  // What was cut short goes; a device written to (/dev/full) stays.
  std::error_code ignored;
  if (fs::is_regular_file(file, ignored)) fs::remove(file, ignored);
  error = WriteFailure(file, failure);
  return false;
}

bool ReplaceOutputFile(const std::string& file, const std::vector<uint8_t>& bytes, std::string& error) {
  const std::string partial = file + ".partial";
  if (!WriteOutputFile(partial, bytes, error)) return false;
  std::error_code code;
  fs::rename(partial, file, code);
  if (!code) return true;
  error = WriteFailure(file, code.value());
  fs::remove(partial, code);
  return false;
}
