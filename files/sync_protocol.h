#pragma once
// The wire protocol of sync editors: after the greetings, one command byte and big-endian fields.
// Pure: the reader splits the bytes an editor sends into messages, the writers make the bytes we
// send; the socket lives with the developer mode.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

inline constexpr char SYNC_CLIENT_GREETING[] = "hello, synctracker!";
inline constexpr char SYNC_SERVER_GREETING[] = "hello, demo!";
constexpr size_t SYNC_CLIENT_GREETING_SIZE = sizeof SYNC_CLIENT_GREETING - 1;
constexpr size_t SYNC_SERVER_GREETING_SIZE = sizeof SYNC_SERVER_GREETING - 1;

enum SyncCommand : uint8_t {
  SYNC_SET_KEY = 0,
  SYNC_DELETE_KEY = 1,
  SYNC_GET_TRACK = 2,
  SYNC_SET_ROW = 3,
  SYNC_PAUSE = 4,
  SYNC_SAVE_TRACKS = 5,
};

struct SyncMessage {
  uint8_t command = SYNC_SET_ROW;
  uint32_t track = 0;  // the index of the "get track" we sent for it
  uint32_t row = 0;
  float value = 0;
  uint8_t interpolation = 0;
  bool paused = false;
};

// Messages from an editor, split from a stream that may arrive in any pieces.
class SyncMessageReader {
 public:
  void Feed(const uint8_t* bytes, size_t size);
  // The next whole message; false when more bytes are needed or the stream is broken.
  bool Next(SyncMessage& message);
  // True once a command byte no editor sends has come: nothing after it can be split.
  bool Broken() const { return mBroken; }
  uint8_t BrokenCommand() const { return mBrokenCommand; }

 private:
  std::vector<uint8_t> mPending;
  size_t mAt = 0;
  bool mBroken = false;
  uint8_t mBrokenCommand = 0;
};

// The bytes of the messages we send.
std::vector<uint8_t> SyncGetTrackMessage(const std::string& name);
std::vector<uint8_t> SyncSetRowMessage(uint32_t row);
