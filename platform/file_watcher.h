#pragma once
// Watches a folder and every folder below it (inotify) for files written, moved in, removed or
// moved away. Polled from the main loop; never blocks.

#include <map>
#include <string>
#include <vector>

namespace platform {

struct FileChange {
  std::string path;  // the file's full path
  bool removed = false;
};

class FileWatcher {
 public:
  FileWatcher() = default;
  ~FileWatcher();
  FileWatcher(const FileWatcher&) = delete;
  FileWatcher& operator=(const FileWatcher&) = delete;

  // Starts watching folder and its sub-folders. Folders made later are watched as they appear;
  // files already in them by then are reported as written. False with the reason in error.
  bool Watch(const std::string& folder, std::string& error);
  void Stop();
  // What changed since the last call, in order. A file written is reported once it is closed.
  std::vector<FileChange> Poll();

 private:
  // Watches folder and the folders below it; files found there go to found when it is given.
  void AddTree(const std::string& folder, std::vector<FileChange>* found);

  int mFd = -1;
  std::map<int, std::string> mFolders;  // watch descriptor to folder path
};

}  // namespace platform
