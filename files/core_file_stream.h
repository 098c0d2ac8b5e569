#pragma once
// CoreFileStream: the stream interface that loaders receive, a thin layer over a CoreFile that it
// does not own (the file must outlive the stream). A stream made without a file reads nothing.
//
// Its Seek numbers origins differently from CoreFile::Seek: 0 = from the current position,
// 1 = from the start, 2 = from the end (not supported: a critical error).

#include <cstdint>
#include <string>

#include "core/runtime_class.h"

class CoreFile;

class CoreFileStream : public CoreObject {
  CORE_DECLARE_DYNAMIC(CoreFileStream)
  CoreFileStream() = default;
  explicit CoreFileStream(CoreFile* file) : mFile(file) {}
  ~CoreFileStream() override = default;

  virtual uint64_t Read(void* buffer, uint64_t count);
  virtual uint64_t Write(const void* buffer, uint64_t count);
  virtual bool IsOpen() const { return mFile != nullptr; }
  virtual bool IsReadable() const { return mFile != nullptr; }
  virtual uint64_t GetSize() const;
  virtual const std::string& GetName() const;
  virtual const std::string& GetExtension() const;
  virtual int GetChar();
  virtual void UngetChar(int c);
  virtual char* GetLine(char* buffer, int n);
  virtual bool IsWritable() const;
  virtual bool IsEof() const;
  // Reads words described by format into the pointers that follow (see files/scan_format.h).
  // Returns 0.
  virtual int ScanFormat(const char* format, ...);
  virtual int Seek(uint64_t offset, uint8_t origin);

  CoreFile* GetFile() const { return mFile; }

 private:
  CoreFile* mFile = nullptr;
};
