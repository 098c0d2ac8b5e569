#pragma once
// The process-wide pack: one read-only stream over "torvane.pak" and its entry table, opened once
// by the system manager at start-up and closed at its stop. Every CoreFile reads through it.

#include <cstdint>
#include <cstdio>

#include "files/pack_table.h"

class CoreFile;

// The only mode a pack entry can be opened in.
constexpr uint8_t MODE_READ = 2;

// Opens the pack (by default "torvane.pak" in the working directory), checks its header and loads
// its table. A file that cannot be opened, a wrong magic or version and an empty table are
// critical errors. A pack that is already open is closed first. Returns true.
bool OpenPackage(const char* path = PACK_FILE_NAME);

// Takes over an already open stream (a temporary file, a memory stream) and its table as read by
// PackTable::Read, without the header checks: for tests and fuzzing that must not end the process.
void InstallPackage(std::FILE* fp, PackTable&& table);

// Closes the pack stream; CoreFile reads after this return nothing. Safe to call when closed.
void ClosePackage();

bool PackageIsOpen();

// Counts the packs installed so far: tells whoever remembers things about entries that they may
// now be other entries.
uint64_t PackageGeneration();

// The shared stream (null while closed). Every access must position it absolutely first.
std::FILE* PackageStream();

// The table of the open pack (empty while closed).
const PackTable& PackageTable();

// Binds file to the entry named name as the first source of the entry stack that answers for it
// gives it (files/entry_source.h; in the player, the pack's first entry of that name, exact
// bytes). A mode other than MODE_READ and a name that no source answers for are critical errors.
// On success the file's position is 0. False when a policy for missing entries bound it empty.
bool FindPackEntry(const char* name, CoreFile& file, uint8_t mode);

// Whether a source of the entry stack holds name.
bool EntryExists(const char* name);

// Called with the name just before a name missing from the pack ends the process, by whoever
// knows which of the production's files named it (null: nobody).
using MissingEntryHandler = void (*)(const char* name);
void SetMissingEntryHandler(MissingEntryHandler handler);
