#pragma once
// The developer mode as a sync editor's client (`--sync-editor HOST:PORT`): it connects, greets,
// asks for every track the production uses, and from then on applies the editor's keys, follows
// its row and pause, and saves when it says so, while telling it the playhead's row. Never waits:
// a connect, a greeting and the editor's bytes are all taken a frame at a time, and a lost
// editor is tried again every SYNC_RECONNECT_MS.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "files/sync_protocol.h"
#include "files/sync_track.h"
#include "platform/tcp_connection.h"

inline constexpr uint32_t SYNC_RECONNECT_MS = 1000;

// What the client does to the demo.
struct SyncEditorHooks {
  std::function<std::vector<std::string>()> trackNames;  // asked for after each greeting
  std::function<void(const std::string& track, const SyncKey& key)> setKey;
  std::function<void(const std::string& track, uint32_t row)> deleteKey;
  std::function<void(uint32_t row)> seekRow;
  std::function<void(bool paused)> pause;
  std::function<void()> save;
};

// "HOST:PORT" split; false for anything else (a port of 1 to 65535 is needed).
bool ParseSyncEditorAddress(const std::string& address, std::string& host, uint16_t& port);

class SyncEditorClient {
 public:
  SyncEditorClient(std::string host, uint16_t port, SyncEditorHooks hooks);

  // One turn: connects or greets as far as it can, applies what the editor sent, and sends
  // playheadRow when it moved other than by the editor's own "set row".
  void Poll(uint32_t nowMs, uint32_t playheadRow);
  bool Connected() const { return mStage == Stage::Talking; }
  // The tracks asked for, in the order the editor numbers them.
  const std::vector<std::string>& Tracks() const { return mTracks; }

 private:
  enum class Stage { Idle, Connecting, Greeting, Talking };

  void StartConnect(uint32_t nowMs);
  void Greet();
  void Talk();
  void Apply(const SyncMessage& message);
  void Lost(const std::string& why);

  std::string mHost;
  uint16_t mPort;
  SyncEditorHooks mHooks;
  platform::TcpConnection mConnection;
  Stage mStage = Stage::Idle;
  bool mTried = false;
  uint32_t mLastAttemptMs = 0;
  std::vector<uint8_t> mInput;
  SyncMessageReader mReader;
  std::vector<std::string> mTracks;
  uint32_t mSentRow = UINT32_MAX;
  bool mEditorMovedRow = false;
  bool mLostLogged = false;
};
