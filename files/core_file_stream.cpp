#include "files/core_file_stream.h"

#include <cstdarg>

#include "files/core_file.h"
#include "files/scan_format.h"

CORE_IMPLEMENT_DYNAMIC(CoreFileStream, CoreObject)

namespace {

const std::string NO_NAME;

// Feeds the scanner one byte at a time through the file's Read, as loaders expect.
class FileByteSource : public ScanByteSource {
 public:
  explicit FileByteSource(CoreFileStream& stream) : mStream(stream) {}
  bool ReadByte(char& c) override { return mStream.Read(&c, 1) == 1; }

 private:
  CoreFileStream& mStream;
};

// Stream origins 0 and 1 are the file's 1 and 0; the rest pass through unchanged.
uint8_t FileOrigin(uint8_t streamOrigin) {
  if (streamOrigin == 0) return 1;
  if (streamOrigin == 1) return 0;
  return streamOrigin;
}

}  // namespace

uint64_t CoreFileStream::Read(void* buffer, uint64_t count) { return mFile ? mFile->Read(buffer, count) : 0; }

uint64_t CoreFileStream::Write(const void* buffer, uint64_t count) {
  return mFile ? mFile->Write(buffer, count) : 0;
}

uint64_t CoreFileStream::GetSize() const { return mFile ? mFile->GetSize() : 0; }

const std::string& CoreFileStream::GetName() const { return mFile ? mFile->GetName() : NO_NAME; }

const std::string& CoreFileStream::GetExtension() const { return mFile ? mFile->GetExtension() : NO_NAME; }

int CoreFileStream::GetChar() { return mFile ? mFile->GetChar() : -1; }

void CoreFileStream::UngetChar(int c) {
  if (mFile) mFile->UngetChar(c);
}

char* CoreFileStream::GetLine(char* buffer, int n) { return mFile ? mFile->GetLine(buffer, n) : nullptr; }

bool CoreFileStream::IsWritable() const { return mFile && mFile->IsWritable(); }

bool CoreFileStream::IsEof() const { return !mFile || mFile->IsEof(); }

int CoreFileStream::ScanFormat(const char* format, ...) {
  FileByteSource source(*this);
  va_list args;
  va_start(args, format);
  int result = ScanFormatList(source, format, args);
  va_end(args);
  return result;
}

int CoreFileStream::Seek(uint64_t offset, uint8_t origin) {
  return mFile ? mFile->Seek(offset, FileOrigin(origin)) : 0;
}
