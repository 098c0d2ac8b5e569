#pragma once
// Writing what a command produces where its author asked: the folders on the way are made, and a
// write that still fails says why (the folder is missing, not writable, the disk is full), so
// that the author knows what to mend.

#include <cstdint>
#include <string>
#include <vector>

// Makes folder and every folder above it that is missing.
bool MakeOutputFolder(const std::string& folder, std::string& error);

// Makes the folder that is to hold file.
bool MakeFolderFor(const std::string& file, std::string& error);

// bytes as the whole of file, its folder made first. A file cut short is removed.
bool WriteOutputFile(const std::string& file, const std::vector<uint8_t>& bytes, std::string& error);

// bytes as the whole of file or nothing: written beside it ("FILE.partial"), then renamed over
// it, so that a reader never sees half a file and a failure leaves the old one in place.
bool ReplaceOutputFile(const std::string& file, const std::vector<uint8_t>& bytes, std::string& error);

// "cannot write FILE: REASON" for a write that failed with errorNumber.
std::string WriteFailure(const std::string& file, int errorNumber);
