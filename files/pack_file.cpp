#include "files/pack_file.h"

#include "core/critical.h"
#include "core/log.h"
#include "files/content_folder.h"
#include "files/core_file.h"

namespace {

struct Package {
  std::FILE* mPackageFp = nullptr;
  PackTable table;
  bool missingTolerated = false;
};

Package& ThePackage() {
  static Package package;
  return package;
}

}  // namespace

bool OpenPackage(const char* path) {
  ClosePackage();
  std::FILE* mPackageFp = std::fopen(path, "rb");
  CoreCheck(mPackageFp != nullptr, CRITICAL_PACK_OPEN);
  PackTable table;
  PackStatus status = table.Read(mPackageFp);
  CoreCheck(status != PackStatus::BadHeader, CRITICAL_PACK_HEADER);
  CoreCheck(status != PackStatus::BadVersion, CRITICAL_PACK_VERSION);
  CoreCheck(status != PackStatus::NoEntries, CRITICAL_PACK_ENTRIES);
  InstallPackage(mPackageFp, std::move(table));
  return true;
}

void InstallPackage(std::FILE* fp, PackTable&& table) {
  ClosePackage();
  Package& package = ThePackage();
  package.mPackageFp = fp;
  package.table = std::move(table);
}

void ClosePackage() {
  Package& package = ThePackage();
  if (package.mPackageFp) std::fclose(package.mPackageFp);
  package.mPackageFp = nullptr;
  package.table = PackTable();
}

bool PackageIsOpen() { return ThePackage().mPackageFp != nullptr; }

std::FILE* PackageStream() { return ThePackage().mPackageFp; }

const PackTable& PackageTable() { return ThePackage().table; }

bool EntryExists(const char* name) {
  return name && (LooseEntryExists(name) || PackageTable().Find(name) != nullptr);
}

void SetMissingEntriesTolerated(bool tolerated) { ThePackage().missingTolerated = tolerated; }

bool FindPackEntry(const char* name, CoreFile& file, uint8_t mode) {
  CoreCheck(mode == MODE_READ, CRITICAL_PACK_WRITE);
  // A loose file that cannot be read stands in as no bytes rather than letting the pack's older
  // version through: the loader refuses it and what was loaded before stays.
  if (name && !ContentFolder().empty() && LooseEntryExists(name)) {
    file.BindLoose(name, ReadLooseEntry(name));
    return true;
  }
  const PackTable& table = PackageTable();
  const PackEntry* entry = name ? table.Find(name) : nullptr;
  bool isFound = entry != nullptr;
  if (!isFound && ThePackage().missingTolerated) {
    Log(LogLevel::Error, "pack", "%s: no such entry in the pack or the content folder", name ? name : "(null)");
    file.BindLoose(name ? name : "", nullptr);
    return false;
  }
  CoreCheck(isFound, CRITICAL_FILE_NOT_FOUND);
  file.BindEntry(*entry, table.HeldSize(*entry));
  return true;
}
