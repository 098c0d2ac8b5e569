#include "files/missing_entry_policy.h"

#include <cstring>

#include "core/log.h"
#include "files/core_file.h"

namespace files {

EntryLookup EmptyWhenMissing::Bind(const std::string& name, CoreFile& file) const {
  if (mReport == Report::Logged) {
    Log(LogLevel::Error, "pack", "%s: no such entry in the pack or the content folder", name.c_str());
    BindToBytes(file, name, nullptr);
    return EntryLookup::BoundEmpty;
  }
  PackEntry empty{};
  std::strncpy(empty.name, name.c_str(), PACK_NAME_SIZE - 1);
  BindToEntry(file, empty, 0);
  return EntryLookup::Found;
}

}  // namespace files
