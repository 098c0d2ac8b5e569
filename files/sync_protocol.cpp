#include "files/sync_protocol.h"

#include <cstring>

namespace {

// How many bytes follow each command byte an editor sends; 0 for none, -1 for a command it
// never sends.
int PayloadSize(uint8_t command) {
  switch (command) {
    case SYNC_SET_KEY: return 13;
    case SYNC_DELETE_KEY: return 8;
    case SYNC_SET_ROW: return 4;
    case SYNC_PAUSE: return 1;
    case SYNC_SAVE_TRACKS: return 0;
    default: return -1;
  }
}

uint32_t BigEndian32(const uint8_t* at) {
  return static_cast<uint32_t>(at[0]) << 24 | static_cast<uint32_t>(at[1]) << 16 | static_cast<uint32_t>(at[2]) << 8 |
         static_cast<uint32_t>(at[3]);
}

void AppendBigEndian32(std::vector<uint8_t>& bytes, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) bytes.push_back(static_cast<uint8_t>(value >> shift));
}

SyncMessage Decode(uint8_t command, const uint8_t* payload) {
  SyncMessage message;
  message.command = command;
  switch (command) {
    case SYNC_SET_KEY: {
      message.track = BigEndian32(payload);
      message.row = BigEndian32(payload + 4);
      const uint32_t bits = BigEndian32(payload + 8);
      std::memcpy(&message.value, &bits, sizeof bits);
      message.interpolation = payload[12];
      break;
    }
    case SYNC_DELETE_KEY:
      message.track = BigEndian32(payload);
      message.row = BigEndian32(payload + 4);
      break;
    case SYNC_SET_ROW: message.row = BigEndian32(payload); break;
    case SYNC_PAUSE: message.paused = payload[0] != 0; break;
    default: break;
  }
  return message;
}

}  // namespace

void SyncMessageReader::Feed(const uint8_t* bytes, size_t size) {
  if (mBroken || size == 0) return;
  // Bytes already split off are dropped before the buffer grows.
  mPending.erase(mPending.begin(), mPending.begin() + static_cast<std::ptrdiff_t>(mAt));
  mAt = 0;
  mPending.insert(mPending.end(), bytes, bytes + size);
}

bool SyncMessageReader::Next(SyncMessage& message) {
  if (mBroken || mAt >= mPending.size()) return false;
  const uint8_t command = mPending[mAt];
  const int payload = PayloadSize(command);
  if (payload < 0) {
    mBroken = true;
    mBrokenCommand = command;
    return false;
  }
  if (mPending.size() - mAt < static_cast<size_t>(payload) + 1) return false;
  message = Decode(command, mPending.data() + mAt + 1);
  mAt += static_cast<size_t>(payload) + 1;
  return true;
}

std::vector<uint8_t> SyncGetTrackMessage(const std::string& name) {
  std::vector<uint8_t> bytes{SYNC_GET_TRACK};
  AppendBigEndian32(bytes, static_cast<uint32_t>(name.size()));
  bytes.insert(bytes.end(), name.begin(), name.end());
  return bytes;
}

std::vector<uint8_t> SyncSetRowMessage(uint32_t row) {
  std::vector<uint8_t> bytes{SYNC_SET_ROW};
  AppendBigEndian32(bytes, row);
  return bytes;
}
