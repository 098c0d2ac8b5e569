#include "files/entry_source.h"

#include "files/core_file.h"
#include "files/pack_entry_source.h"

namespace files {

namespace {

EntrySourceStack& Stack() {
  static EntrySourceStack stack = PlayerEntrySources();
  return stack;
}

}  // namespace

void EntrySource::BindToEntry(CoreFile& file, const PackEntry& entry, uint32_t size) { file.BindEntry(entry, size); }

void EntrySource::BindToBytes(CoreFile& file, const std::string& name, LooseBytes bytes) { file.BindLoose(name, std::move(bytes)); }

void SetEntrySources(EntrySourceStack oldestFirst) { Stack() = std::move(oldestFirst); }

const EntrySourceStack& EntrySources() { return Stack(); }

EntrySourceStack PlayerEntrySources() { return {std::make_shared<PackEntrySource>()}; }

}  // namespace files
