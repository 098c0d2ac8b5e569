#pragma once
// The open pack (files/pack_file.h) as a source of entries: the first entry of the name, exact
// bytes, with the bytes the pack holds of it.

#include "files/entry_source.h"

namespace files {

class PackEntrySource : public EntrySource {
 public:
  bool Has(const std::string& name) const override;
  EntryLookup Bind(const std::string& name, CoreFile& file) const override;
};

}  // namespace files
