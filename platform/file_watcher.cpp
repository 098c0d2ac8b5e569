#include "platform/file_watcher.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace platform {

namespace {

constexpr uint32_t FOLDER_EVENTS = IN_CLOSE_WRITE | IN_MOVED_TO | IN_ATTRIB | IN_DELETE | IN_MOVED_FROM | IN_CREATE;
constexpr size_t EVENT_BUFFER_BYTES = 64 * 1024;

}  // namespace

FileWatcher::~FileWatcher() { Stop(); }

bool FileWatcher::Watch(const std::string& folder, std::string& error) {
  Stop();
  mFd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  if (mFd < 0) {
    error = std::string("inotify: ") + std::strerror(errno);
    return false;
  }
  AddTree(folder, nullptr);
  if (mFolders.empty()) {
    error = "cannot watch " + folder;
    Stop();
    return false;
  }
  return true;
}

void FileWatcher::Stop() {
  if (mFd >= 0) close(mFd);
  mFd = -1;
  mFolders.clear();
}

void FileWatcher::AddTree(const std::string& folder, std::vector<FileChange>* found) {
  int watch = inotify_add_watch(mFd, folder.c_str(), FOLDER_EVENTS);
  if (watch < 0) return;
  mFolders[watch] = folder;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    if (entry.is_directory(error) && !entry.is_symlink(error)) {
      AddTree(entry.path().string(), found);
    } else if (found && entry.is_regular_file(error)) {
      // Written before the folder was watched: no event will tell of it.
      found->push_back({entry.path().string(), false});
    }
  }
}

std::vector<FileChange> FileWatcher::Poll() {
  std::vector<FileChange> changes;
  if (mFd < 0) return changes;
  alignas(inotify_event) char buffer[EVENT_BUFFER_BYTES];
  for (;;) {
    ssize_t got = read(mFd, buffer, sizeof buffer);
    if (got <= 0) break;
    for (ssize_t at = 0; at < got;) {
      const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
      at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
      if (event->mask & IN_IGNORED) {
        mFolders.erase(event->wd);
        continue;
      }
      auto folder = mFolders.find(event->wd);
      if (folder == mFolders.end() || event->len == 0) continue;
      std::string path = folder->second + "/" + event->name;
      if (event->mask & IN_ISDIR) {
        if (event->mask & (IN_CREATE | IN_MOVED_TO)) AddTree(path, &changes);
        continue;
      }
      if (event->mask & (IN_DELETE | IN_MOVED_FROM)) {
        changes.push_back({path, true});
      } else if (event->mask & (IN_CLOSE_WRITE | IN_MOVED_TO | IN_ATTRIB)) {
        changes.push_back({path, false});
      }
    }
  }
  return changes;
}

}  // namespace platform
