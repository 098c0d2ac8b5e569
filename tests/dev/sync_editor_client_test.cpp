// The sync editor client against a fake editor on a loopback socket: the exact bytes it sends,
// what each editor message does to the demo, and that a lost or wrong editor is tried again
// without a frame ever waiting for it.
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "dev/sync_editor_client.h"
#include "tests/support/fake_sync_editor.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Text(const char* text) { return Bytes(text, text + std::strlen(text)); }

Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

struct DemoRecord {
  std::vector<std::string> events;
  uint32_t row = 0;  // the playhead's, moved by the editor
};

SyncEditorHooks RecordingHooks(DemoRecord& record) {
  SyncEditorHooks hooks;
  hooks.trackNames = [] { return std::vector<std::string>{"fade", "cam:shake"}; };
  hooks.setKey = [&record](const std::string& track, const SyncKey& key) {
    record.events.push_back("set " + track + " " + std::to_string(key.row) + " " + std::to_string(key.value) + " " +
                            std::to_string(key.interpolation));
  };
  hooks.deleteKey = [&record](const std::string& track, uint32_t row) {
    record.events.push_back("delete " + track + " " + std::to_string(row));
  };
  hooks.seekRow = [&record](uint32_t row) {
    record.events.push_back("row " + std::to_string(row));
    record.row = row;
  };
  hooks.pause = [&record](bool paused) { record.events.push_back(paused ? "pause" : "play"); };
  hooks.save = [&record] { record.events.push_back("save"); };
  return hooks;
}

// Polls the client until the fake editor has bytes or a connection, at most a second.
template <typename Done>
void PollUntil(SyncEditorClient& client, uint32_t now, const DemoRecord& demo, Done done) {
  for (int i = 0; i < 200 && !done(); ++i) {
    client.Poll(now, demo.row);
    usleep(5000);
  }
}

TEST(SyncEditorClient, GreetsAsksForTracksAndFollowsTheEditor) {
  FakeSyncEditor editor;
  DemoRecord record;
  SyncEditorClient client("127.0.0.1", editor.Port(), RecordingHooks(record));
  const uint32_t now = 0;
  PollUntil(client, now, record, [&] { return editor.Accept(0); });
  Bytes got;
  PollUntil(client, now, record, [&] {
    const Bytes more = editor.Received();
    got.insert(got.end(), more.begin(), more.end());
    return got.size() >= 19;
  });
  EXPECT_EQ(got, Text("hello, synctracker!"));
  EXPECT_FALSE(client.Connected()) << "not before the editor answers";

  editor.Send(Text("hello, demo!"));
  record.row = 40;
  got.clear();
  const Bytes expected = Concat({{2, 0, 0, 0, 4}, Text("fade"), {2, 0, 0, 0, 9}, Text("cam:shake"), {3, 0, 0, 0, 40}});
  PollUntil(client, now, record, [&] {
    const Bytes more = editor.Received();
    got.insert(got.end(), more.begin(), more.end());
    return got.size() >= expected.size();
  });
  EXPECT_EQ(got, expected);
  EXPECT_TRUE(client.Connected());

  editor.Send({0, 0, 0, 0, 1, 0, 0, 0, 16, 0x3F, 0x80, 0, 0, 2,   // set key: fade, row 16, 1.0, smooth
               1, 0, 0, 0, 0, 0, 0, 0, 16,                        // delete key: fade, row 16
               0, 0, 0, 0, 7, 0, 0, 0, 1, 0, 0, 0, 0, 1,          // a track never asked for: left out
               0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 9,          // an interpolation we cannot play
               3, 0, 0, 0x01, 0x00,                               // set row 256
               4, 1, 4, 0, 5});                                   // pause, play, save
  PollUntil(client, now, record, [&] { return record.events.size() >= 6; });
  const std::vector<std::string> events = {"set cam:shake 16 1.000000 2", "delete fade 16", "row 256", "pause",
                                           "play", "save"};
  EXPECT_EQ(record.events, events);

  // The editor's own row is not sent back; a row the demo moves to is.
  client.Poll(now, 256);
  client.Poll(now, 300);
  usleep(20000);
  EXPECT_EQ(editor.Received(), (Bytes{3, 0, 0, 0x01, 0x2C}));
}

TEST(SyncEditorClient, ReconnectsWhenTheEditorGoesAwayWithoutWaiting) {
  FakeSyncEditor editor;
  DemoRecord record;
  SyncEditorClient client("127.0.0.1", editor.Port(), RecordingHooks(record));
  const uint32_t now = 0;
  PollUntil(client, now, record, [&] { return editor.Accept(0); });
  editor.Send(Text("hello, demo!"));
  PollUntil(client, now, record, [&] { return client.Connected(); });
  ASSERT_TRUE(client.Connected());
  editor.Hang();
  PollUntil(client, now, record, [&] { return !client.Connected(); });
  EXPECT_FALSE(client.Connected());

  // Not before the reconnect interval; each turn returns at once.
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < 20; ++i) client.Poll(now + SYNC_RECONNECT_MS - 1, 0);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(200));
  usleep(20000);
  EXPECT_FALSE(editor.Accept(0));
  PollUntil(client, now + SYNC_RECONNECT_MS, record, [&] { return editor.Accept(0); });
  Bytes got;
  PollUntil(client, now + SYNC_RECONNECT_MS, record, [&] {
    const Bytes more = editor.Received();
    got.insert(got.end(), more.begin(), more.end());
    return got.size() >= 19;
  });
  EXPECT_EQ(got, Text("hello, synctracker!"));

  // Something that is not an editor is left, and tried again later.
  editor.Send(Text("HTTP/1.1 400"));
  PollUntil(client, now + SYNC_RECONNECT_MS, record, [] { return false; });
  EXPECT_FALSE(client.Connected());
  EXPECT_TRUE(record.events.empty());
}

TEST(SyncEditorAddress, TakesHostAndPortOnly) {
  std::string host;
  uint16_t port = 0;
  ASSERT_TRUE(ParseSyncEditorAddress("localhost:1338", host, port));
  EXPECT_EQ(host, "localhost");
  EXPECT_EQ(port, 1338);
  ASSERT_TRUE(ParseSyncEditorAddress("[::1]:9", host, port));
  EXPECT_EQ(host, "::1");
  for (const char* bad : {"localhost", ":1338", "host:", "host:0", "host:65536", "host:-1", "host:12x"}) {
    EXPECT_FALSE(ParseSyncEditorAddress(bad, host, port)) << bad;
  }
}

}  // namespace
