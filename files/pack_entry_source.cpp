#include "files/pack_entry_source.h"

#include "files/core_file.h"
#include "files/pack_file.h"

namespace files {

bool PackEntrySource::Has(const std::string& name) const { return PackageTable().Find(name.c_str()) != nullptr; }

EntryLookup PackEntrySource::Bind(const std::string& name, CoreFile& file) const {
  const PackTable& table = PackageTable();
  const PackEntry* entry = table.Find(name.c_str());
  if (!entry) return EntryLookup::NotHere;
  BindToEntry(file, *entry, table.HeldSize(*entry));
  return EntryLookup::Found;
}

}  // namespace files
