#pragma once
// Where FindPackEntry finds the bytes of an entry: an ordered stack of sources, the newest asked
// first, set up by whoever starts the engine. The player's stack is the pack alone; the developer
// mode puts a content folder over the pack and tolerates what neither holds; fuzzing whole
// productions reads what the pack lacks as empty.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "files/content_folder.h"
#include "files/pack_table.h"

class CoreFile;

namespace files {

enum class EntryLookup {
  NotHere,     // ask the next source
  Found,       // the file is bound to the entry's bytes
  BoundEmpty,  // the file is bound to no bytes, and the entry counts as not found
};

class EntrySource {
 public:
  virtual ~EntrySource() = default;
  // Whether this source holds the entry name (a policy for missing entries holds none).
  virtual bool Has(const std::string& name) const = 0;
  // Binds file to the entry name when this source answers for it.
  virtual EntryLookup Bind(const std::string& name, CoreFile& file) const = 0;

 protected:
  // The file positioned at 0 over a pack entry, holding size of its bytes.
  static void BindToEntry(CoreFile& file, const PackEntry& entry, uint32_t size);
  // The file positioned at 0 over bytes standing in for the entry name (null: none).
  static void BindToBytes(CoreFile& file, const std::string& name, LooseBytes bytes);
};

using EntrySourceStack = std::vector<std::shared_ptr<const EntrySource>>;

// Replaces the stack; sources are given oldest first, so the last one is asked first.
void SetEntrySources(EntrySourceStack oldestFirst);
const EntrySourceStack& EntrySources();

// The player's stack: the open pack alone, which every process starts with.
EntrySourceStack PlayerEntrySources();

}  // namespace files
