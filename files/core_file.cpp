#include "files/core_file.h"

#include <algorithm>
#include <cstring>

#include "core/critical.h"

CORE_IMPLEMENT_DYNAMIC(CoreFile, CoreObject)

CoreFile::CoreFile(const char* path, uint8_t mode) { FindPackEntry(path, *this, mode); }

void CoreFile::BindEntry(const PackEntry& entry, uint32_t size) {
  mLoose.reset();
  mEntry = entry;
  mSize = size;
  mName = std::string(PackEntryName(entry));
  mExtension = PathExtension(mName);
  mPosition = 0;
}

void CoreFile::BindLoose(const std::string& name, LooseBytes bytes) {
  mEntry = PackEntry{};
  name.copy(mEntry.name, sizeof mEntry.name - 1);
  mLoose = bytes ? std::move(bytes) : std::make_shared<const std::vector<uint8_t>>();
  mSize = static_cast<uint32_t>(mLoose->size());
  mName = name;
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
  if (mLoose) {
    size_t available = mPosition < mLoose->size() ? mLoose->size() - mPosition : 0;
    size_t copied = std::min<size_t>(bytes, available);
    if (copied) std::memcpy(buffer, mLoose->data() + mPosition, copied);
    mPosition += bytes;
    return copied;
  }
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
  if (mLoose) {
    uint32_t at = mPosition++;
    return at < mLoose->size() ? (*mLoose)[at] : -1;
  }
  std::FILE* fp = PositionStream();
  mPosition += 1;
  return fp ? std::fgetc(fp) : -1;
}

// A loose file has no stream to push back onto; the next access would drop it anyway.
void CoreFile::UngetChar(int c) {
  if (mLoose) return;
  if (std::FILE* fp = PositionStream()) std::ungetc(c, fp);
}

char* CoreFile::GetLine(char* buffer, int n) {
  if (n < 1) return nullptr;
  if (mLoose) return GetLooseLine(buffer, n);
  std::FILE* fp = PositionStream();
  mPosition += uint32_t(n);
  return fp ? std::fgets(buffer, n, fp) : nullptr;
}

char* CoreFile::GetLooseLine(char* buffer, int n) {
  uint32_t at = mPosition;
  mPosition += uint32_t(n);
  if (at >= mLoose->size()) return nullptr;
  int length = 0;
  while (length < n - 1 && at + length < mLoose->size()) {
    char c = static_cast<char>((*mLoose)[at + length]);
    buffer[length++] = c;
    if (c == '\n') break;
  }
  buffer[length] = '\0';
  return buffer;
}

std::string PathExtension(const std::string& path) {
  size_t componentStart = path.find_last_of("\\/");
  componentStart = componentStart == std::string::npos ? 0 : componentStart + 1;
  size_t dot = path.rfind('.');
  if (dot == std::string::npos || dot < componentStart) return "";
  return path.substr(dot + 1);
}
