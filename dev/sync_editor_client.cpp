#include "dev/sync_editor_client.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "core/log.h"

bool ParseSyncEditorAddress(const std::string& address, std::string& host, uint16_t& port) {
  const size_t colon = address.rfind(':');
  if (colon == std::string::npos || colon == 0 || colon + 1 == address.size()) return false;
  char* end = nullptr;
  const unsigned long number = std::strtoul(address.c_str() + colon + 1, &end, 10);
  if (*end != '\0' || number == 0 || number > 65535 || address[colon + 1] == '-') return false;
  host = address.substr(0, colon);
  if (host.size() > 2 && host.front() == '[' && host.back() == ']') host = host.substr(1, host.size() - 2);
  port = static_cast<uint16_t>(number);
  return true;
}

SyncEditorClient::SyncEditorClient(std::string host, uint16_t port, SyncEditorHooks hooks)
    : mHost(std::move(host)), mPort(port), mHooks(std::move(hooks)) {}

void SyncEditorClient::Poll(uint32_t nowMs, uint32_t playheadRow) {
  if (mStage == Stage::Idle && (!mTried || nowMs - mLastAttemptMs >= SYNC_RECONNECT_MS)) StartConnect(nowMs);
  if (mStage == Stage::Idle) return;
  std::string error;
  const platform::TcpConnection::State state = mConnection.Update(error);
  if (state == platform::TcpConnection::State::Closed) return Lost(error);
  if (state == platform::TcpConnection::State::Connecting) return;
  if (mStage == Stage::Connecting) {
    mConnection.Send(std::vector<uint8_t>(SYNC_CLIENT_GREETING, SYNC_CLIENT_GREETING + SYNC_CLIENT_GREETING_SIZE));
    mStage = Stage::Greeting;
  }
  if (!mConnection.Receive(mInput, error)) return Lost(error);
  if (mStage == Stage::Greeting) Greet();
  if (mStage == Stage::Talking) {
    Talk();
    // The playhead given was read before the editor moved it: it is sent from the next turn.
    if (mStage == Stage::Talking && !mEditorMovedRow && playheadRow != mSentRow) {
      mConnection.Send(SyncSetRowMessage(playheadRow));
      mSentRow = playheadRow;
    }
    mEditorMovedRow = false;
  }
  if (mStage != Stage::Idle && mConnection.Update(error) == platform::TcpConnection::State::Closed) Lost(error);
}

void SyncEditorClient::StartConnect(uint32_t nowMs) {
  mTried = true;
  mLastAttemptMs = nowMs;
  mInput.clear();
  mReader = SyncMessageReader();
  std::string error;
  if (!mConnection.Connect(mHost, mPort, error)) return Lost(error);
  mStage = Stage::Connecting;
}

void SyncEditorClient::Greet() {
  if (mInput.size() < SYNC_SERVER_GREETING_SIZE) return;
  if (std::memcmp(mInput.data(), SYNC_SERVER_GREETING, SYNC_SERVER_GREETING_SIZE) != 0) {
    return Lost("it did not answer as a sync editor");
  }
  mReader.Feed(mInput.data() + SYNC_SERVER_GREETING_SIZE, mInput.size() - SYNC_SERVER_GREETING_SIZE);
  mInput.clear();
  mStage = Stage::Talking;
  mLostLogged = false;
  mSentRow = UINT32_MAX;
  mTracks = mHooks.trackNames ? mHooks.trackNames() : std::vector<std::string>{};
  for (const std::string& name : mTracks) mConnection.Send(SyncGetTrackMessage(name));
  Log(LogLevel::Info, "sync", "connected to the sync editor at %s:%u; %zu tracks asked for", mHost.c_str(),
      static_cast<unsigned>(mPort), mTracks.size());
}

void SyncEditorClient::Talk() {
  mReader.Feed(mInput.data(), mInput.size());
  mInput.clear();
  SyncMessage message;
  while (mReader.Next(message)) Apply(message);
  if (mReader.Broken()) Lost("it sent command " + std::to_string(mReader.BrokenCommand()) + ", which no editor sends");
}

void SyncEditorClient::Apply(const SyncMessage& message) {
  const bool known = message.track < mTracks.size();
  switch (message.command) {
    case SYNC_SET_KEY:
      if (!known) break;
      if (message.interpolation >= SYNC_INTERPOLATION_COUNT || !std::isfinite(message.value)) {
        Log(LogLevel::Warning, "sync", "track \"%s\" row %u: the editor's key is not one we can play; left out",
            mTracks[message.track].c_str(), message.row);
        break;
      }
      if (mHooks.setKey) mHooks.setKey(mTracks[message.track], {message.row, message.value, message.interpolation});
      break;
    case SYNC_DELETE_KEY:
      if (known && mHooks.deleteKey) mHooks.deleteKey(mTracks[message.track], message.row);
      break;
    case SYNC_SET_ROW:
      // The editor moved the row: ours follows, and is not sent back.
      mSentRow = message.row;
      mEditorMovedRow = true;
      if (mHooks.seekRow) mHooks.seekRow(message.row);
      break;
    case SYNC_PAUSE:
      if (mHooks.pause) mHooks.pause(message.paused);
      break;
    case SYNC_SAVE_TRACKS:
      if (mHooks.save) mHooks.save();
      break;
    default: break;
  }
}

void SyncEditorClient::Lost(const std::string& why) {
  const bool wasTalking = mStage == Stage::Talking;
  mConnection.Close();
  mStage = Stage::Idle;
  if (wasTalking || !mLostLogged) {
    Log(wasTalking ? LogLevel::Warning : LogLevel::Info, "sync", "sync editor at %s:%u: %s; trying again every %u ms",
        mHost.c_str(), static_cast<unsigned>(mPort), why.c_str(), SYNC_RECONNECT_MS);
  }
  mLostLogged = true;
}
