#pragma once
// Opening a pack for a tool: as the process-wide pack the engine reads, but without ending the
// process on a file that is no pack.

#include <string>

// Installs the pack at path (files/pack_file.h); false with error set when it cannot be read or
// its header is not a pack's. ClosePackage closes it.
bool InstallPackFile(const std::string& path, std::string& error);
