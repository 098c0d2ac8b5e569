#include "files/core_file.h"

#include "core/critical.h"

CORE_IMPLEMENT_DYNAMIC(CoreFile, CoreObject)

CoreFile::CoreFile(const char* path, uint8_t mode) { FindPackEntry(path, *this, mode); }

void CoreFile::BindEntry(const PackEntry& entry, uint32_t size) {
  mEntry = entry;
  mSize = size;
  mName = std::string(PackEntryName(entry));
  mExtension = PathExtension(mName);
  mPosition = 0;
}

std::FILE* CoreFile::PositionStream() const {
  std::FILE* fp = PackageStream();
  if (!fp) return nullptr;
  return fseeko(fp, off_t(uint64_t(mEntry.offset) + mPosition), SEEK_SET) == 0 ? fp : nullptr;
}

uint64_t CoreFile::Read(void* buffer, uint64_t count) {
  uint32_t bytes = uint32_t(count);
  std::FILE* fp = PositionStream();
  mPosition += bytes;
  return fp ? std::fread(buffer, 1, bytes, fp) : 0;
}

uint64_t CoreFile::Write(const void*, uint64_t) {
  CoreFatal(CRITICAL_WRITE_NOT_SUPPORTED);
}

int CoreFile::Seek(uint64_t offset, uint8_t origin) {
  switch (origin) {
    case 0: mPosition = uint32_t(offset); break;
    case 1: mPosition += uint32_t(offset); break;
    default: CoreFatal(CRITICAL_NOT_SUPPORTED);
  }
  return 0;
}

int CoreFile::GetChar() {
  std::FILE* fp = PositionStream();
  mPosition += 1;
  return fp ? std::fgetc(fp) : -1;
}

void CoreFile::UngetChar(int c) {
  if (std::FILE* fp = PositionStream()) std::ungetc(c, fp);
}

char* CoreFile::GetLine(char* buffer, int n) {
  if (n < 1) return nullptr;
  std::FILE* fp = PositionStream();
  mPosition += uint32_t(n);
  return fp ? std::fgets(buffer, n, fp) : nullptr;
}

std::string PathExtension(const std::string& path) {
  size_t componentStart = path.find_last_of("\\/");
  componentStart = componentStart == std::string::npos ? 0 : componentStart + 1;
  size_t dot = path.rfind('.');
  if (dot == std::string::npos || dot < componentStart) return "";
  return path.substr(dot + 1);
}
