#include "files/pack_file.h"

#include <cerrno>
#include <cstring>
#include <string>

#include "core/critical.h"
#include "core/log.h"
#include "files/core_file.h"
#include "files/entry_source.h"

namespace {

struct Package {
  std::FILE* mPackageFp = nullptr;
  PackTable table;
  std::string path = PACK_FILE_NAME;
  uint64_t generation = 0;
};

Package& ThePackage() {
  static Package package;
  return package;
}

MissingEntryHandler gMissingEntryHandler = nullptr;

}  // namespace

namespace {

void CheckHeader(PackStatus status, const PackTable& table, const std::string& path) {
  if (status == PackStatus::BadHeader) {
    CoreFatal(CRITICAL_PACK_HEADER, "pack", path + ": not a pack file (it does not begin with \"" + szHeader + "\")");
  }
  if (status == PackStatus::BadVersion) {
    CoreFatal(CRITICAL_PACK_VERSION, "pack",
              path + ": a pack of version " + std::to_string(table.Header().version) + "; only version " +
                  std::to_string(PACK_VERSION) + " is read");
  }
  if (status == PackStatus::NoEntries) CoreFatal(CRITICAL_PACK_ENTRIES, "pack", path + ": the pack holds no entries");
}

// A pack cut short still plays, with whatever it lost missing or shorter; the author hears of
// each loss once, when the pack is opened.
void ReportLosses(const PackTable& table, const std::string& path) {
  if (table.Entries().size() < table.Header().numEntries) {
    Log(LogLevel::Error, "pack", "%s: the table lists %u entries but only %zu are in the file", path.c_str(),
        table.Header().numEntries, table.Entries().size());
  }
  for (const PackEntry& entry : table.Entries()) {
    uint32_t held = table.HeldSize(entry);
    if (held == entry.size) continue;
    std::string name(PackEntryName(entry));
    Log(LogLevel::Error, "pack", "%s: %s is cut short: %u of its %u bytes are in the pack, %u missing", path.c_str(),
        name.c_str(), held, entry.size, entry.size - held);
  }
}

}  // namespace

bool OpenPackage(const char* path) {
  ClosePackage();
  std::FILE* mPackageFp = std::fopen(path, "rb");
  if (!mPackageFp) CoreFatal(CRITICAL_PACK_OPEN, "pack", std::string(path) + ": " + std::strerror(errno));
  PackTable table;
  CheckHeader(table.Read(mPackageFp), table, path);
  ReportLosses(table, path);
  InstallPackage(mPackageFp, std::move(table));
  ThePackage().path = path;
  return true;
}

void InstallPackage(std::FILE* fp, PackTable&& table) {
  ClosePackage();
  Package& package = ThePackage();
  package.mPackageFp = fp;
  package.table = std::move(table);
  ++package.generation;
}

void ClosePackage() {
  Package& package = ThePackage();
  if (package.mPackageFp) std::fclose(package.mPackageFp);
  package.mPackageFp = nullptr;
  package.table = PackTable();
  package.path = PACK_FILE_NAME;
}

uint64_t PackageGeneration() { return ThePackage().generation; }

bool PackageIsOpen() { return ThePackage().mPackageFp != nullptr; }

std::FILE* PackageStream() { return ThePackage().mPackageFp; }

const PackTable& PackageTable() { return ThePackage().table; }

void SetMissingEntryHandler(MissingEntryHandler handler) { gMissingEntryHandler = handler; }

bool EntryExists(const char* name) {
  if (!name) return false;
  for (const auto& source : files::EntrySources()) {
    if (source->Has(name)) return true;
  }
  return false;
}

bool FindPackEntry(const char* name, CoreFile& file, uint8_t mode) {
  CoreCheck(mode == MODE_READ, CRITICAL_PACK_WRITE);
  const std::string entryName = name ? name : "";
  const files::EntrySourceStack& sources = files::EntrySources();
  for (auto source = sources.rbegin(); source != sources.rend(); ++source) {
    files::EntryLookup lookup = (*source)->Bind(entryName, file);
    if (lookup != files::EntryLookup::NotHere) return lookup == files::EntryLookup::Found;
  }
  if (gMissingEntryHandler) {
    // Once only: the handler may read the pack itself.
    MissingEntryHandler handler = gMissingEntryHandler;
    gMissingEntryHandler = nullptr;
    handler(entryName.c_str());
  }
  CoreFatal(CRITICAL_FILE_NOT_FOUND, "pack", std::string(name ? name : "(no name)") + ": no such entry in " + ThePackage().path);
}
