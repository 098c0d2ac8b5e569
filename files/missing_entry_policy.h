#pragma once
// What a name that no other source holds binds to, instead of ending the process as it does in
// the player. Put at the bottom of the stack.

#include "files/entry_source.h"

namespace files {

class EmptyWhenMissing : public EntrySource {
 public:
  enum class Report {
    Silent,  // fuzzing: the entry is there with no bytes, every loader refuses it quietly
    Logged,  // the developer mode: an error names it and the file counts as not found
  };
  explicit EmptyWhenMissing(Report report) : mReport(report) {}

  bool Has(const std::string&) const override { return false; }
  EntryLookup Bind(const std::string& name, CoreFile& file) const override;

 private:
  Report mReport;
};

}  // namespace files
