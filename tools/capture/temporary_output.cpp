#include "tools/capture/temporary_output.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "files/output_file.h"
#include "platform/fatal.h"

namespace fs = std::filesystem;

namespace {

// The temporary of the output in progress, for the critical exit to remove. One capture per
// process, so one name.
char gPending[4096] = {};

void RemovePending() {
  if (gPending[0] == '\0') return;
  std::error_code ignored;
  fs::remove_all(gPending, ignored);
  gPending[0] = '\0';
}

void SetPending(const std::string& path) {
  std::snprintf(gPending, sizeof gPending, "%s", path.c_str());
  platform::SetFatalExitCleanup(path.empty() ? nullptr : RemovePending);
}

std::string WithoutTrailingSlashes(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

}  // namespace

TemporaryOutput::~TemporaryOutput() { Discard(); }

bool TemporaryOutput::Prepare(const std::string& finalPath, bool folder, std::string& error) {
  Discard();
  mFinal = WithoutTrailingSlashes(finalPath);
  mFolder = folder;
  fs::path final(mFinal);
  std::string name = "." + final.filename().string() + ".part-" + std::to_string(getpid());
  mTemporary = (final.parent_path() / name).string();
  if (!MakeFolderFor(mFinal, error)) return false;
  std::error_code failure;
  if (folder) {
    fs::create_directory(mTemporary, failure);
  } else if (std::FILE* file = std::fopen(mTemporary.c_str(), "wb")) {
    std::fclose(file);
  } else {
    failure = std::error_code(errno, std::generic_category());
  }
  if (failure) {
    error = WriteFailure(mFinal, failure.value());
    mTemporary.clear();
    return false;
  }
  SetPending(mTemporary);
  return true;
}

bool TemporaryOutput::Commit(std::string& error) {
  std::error_code failure;
  if (mFolder && fs::is_directory(mFinal, failure)) {
    for (const fs::directory_entry& entry : fs::directory_iterator(mTemporary, failure)) {
      fs::rename(entry.path(), fs::path(mFinal) / entry.path().filename(), failure);
      if (failure) break;
    }
    if (!failure) fs::remove(mTemporary, failure);
  } else {
    fs::rename(mTemporary, mFinal, failure);
  }
  if (failure) {
    error = "cannot move the finished output to " + mFinal + ": " + failure.message();
    return false;
  }
  mTemporary.clear();
  SetPending("");
  return true;
}

void TemporaryOutput::Discard() {
  if (mTemporary.empty()) return;
  std::error_code ignored;
  fs::remove_all(mTemporary, ignored);
  mTemporary.clear();
  SetPending("");
}
