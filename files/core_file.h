#pragma once
// CoreFile: a read-only view of one pack entry. Every access positions the shared pack stream at
// the entry's offset plus the file's position first, so several files can be used in turn.
// Reads are not bounded by the entry's size: past its end they return the bytes that follow it in
// the pack; callers bound their reads with GetSize or IsEof. A file bound to a loose file of the
// content folder (the developer mode) reads that file's bytes, and nothing past their end.

#include <cstdint>
#include <string>

#include "core/runtime_class.h"
#include "files/content_folder.h"
#include "files/pack_file.h"

namespace files {
class EntrySource;
}

class CoreFile : public CoreObject {
  CORE_DECLARE_DYNAMIC(CoreFile)
  // An unbound file of size 0; FindPackEntry binds it.
  CoreFile() = default;
  // Binds the file to the entry named path (see FindPackEntry for the critical errors).
  CoreFile(const char* path, uint8_t mode);
  ~CoreFile() override = default;

  // Reads count bytes (low 32 bits used) at the position and advances the position by count.
  // Returns the number of bytes actually read.
  virtual uint64_t Read(void* buffer, uint64_t count);
  // Writing is not supported: always a critical error.
  virtual uint64_t Write(const void* buffer, uint64_t count);
  // origin 0: position = offset; 1: position += offset; anything else is a critical error.
  virtual int Seek(uint64_t offset, uint8_t origin);
  virtual const std::string& GetName() const { return mName; }
  // The text after the last dot of the final path component, without the dot; may be empty.
  virtual const std::string& GetExtension() const { return mExtension; }
  // The next byte, or -1 at the end of the pack file. Advances the position by 1 either way.
  virtual int GetChar();
  // Pushes c back onto the pack stream; the next access repositions the stream and drops it.
  virtual void UngetChar(int c);
  // Reads up to n - 1 bytes through a line feed into buffer, zero-terminated, and advances the
  // position by n (not by the length read). Returns buffer, or null at the end of the pack file.
  virtual char* GetLine(char* buffer, int n);
  virtual bool IsWritable() const { return false; }
  virtual bool IsEof() const { return mPosition >= mSize; }

  uint32_t GetSize() const { return mSize; }
  uint32_t GetPosition() const { return mPosition; }
  const PackEntry& GetEntry() const { return mEntry; }
  bool IsLoose() const { return mLoose != nullptr; }

 private:
  friend class files::EntrySource;
  void BindEntry(const PackEntry& entry, uint32_t size);
  // Binds the file to bytes standing in for the entry name (empty bytes for a missing entry).
  void BindLoose(const std::string& name, LooseBytes bytes);
  char* GetLooseLine(char* buffer, int n);
  // Moves the pack stream to offset + position; null when no pack is open.
  std::FILE* PositionStream() const;

  uint32_t mSize = 0;
  std::string mName;
  std::string mExtension;
  uint32_t mPosition = 0;
  PackEntry mEntry{};
  LooseBytes mLoose;
};

// The extension of path as CoreFile::GetExtension defines it.
std::string PathExtension(const std::string& path);
