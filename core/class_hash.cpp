#include "core/class_hash.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include <md5.h>

#include "core/critical.h"

namespace {

uint64_t ReadBigEndian64(const unsigned char* bytes) {
  uint64_t value = 0;
  for (int i = 0; i < 8; ++i) value = (value << 8) | bytes[i];
  return value;
}

}  // namespace

int ClassNameSlot(const char* name) {
  size_t length = std::strlen(name);
  char* pbuf = static_cast<char*>(std::malloc(length + 1));
  CoreCheck(pbuf != nullptr, CRITICAL_BAD_ALLOC);
  std::memcpy(pbuf, name, length + 1);

  MD5_CTX context;
  MD5Init(&context);
  MD5Update(&context, reinterpret_cast<const uint8_t*>(pbuf), length);
  unsigned char digest[MD5_DIGEST_LENGTH];
  MD5Final(digest, &context);
  std::free(pbuf);

  uint64_t sum = ReadBigEndian64(digest) + ReadBigEndian64(digest + 8);
  return static_cast<int>(sum % DYNAMIC_HASH_NUM);
}
