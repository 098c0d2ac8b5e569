// The sync editor's message reader over arbitrary bytes fed in pieces whose sizes the input picks.
#include <cstdint>
#include <cstdlib>

#include "files/sync_protocol.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const size_t piece = data[0] % 17 + 1;
  SyncMessageReader reader;
  SyncMessage message;
  for (size_t at = 1; at < size; at += piece) {
    reader.Feed(data + at, std::min(piece, size - at));
    while (reader.Next(message)) {
      if (message.command > SYNC_SAVE_TRACKS || message.command == SYNC_GET_TRACK) std::abort();
    }
  }
  return 0;
}
