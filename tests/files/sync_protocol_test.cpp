// The sync editor's wire messages: exact bytes out, and messages split from a stream that arrives
// in any pieces.
#include <gtest/gtest.h>

#include <vector>

#include "files/sync_protocol.h"

namespace {

const std::vector<uint8_t> EDITOR_STREAM = {
    SYNC_SET_KEY, 0, 0, 0, 2, 0, 0, 1, 0, 0x3F, 0xC0, 0, 0, 3,  // track 2, row 256, 1.5, ramp
    SYNC_DELETE_KEY, 0, 0, 0, 1, 0, 0, 0, 7,                     // track 1, row 7
    SYNC_SET_ROW, 0x01, 0x02, 0x03, 0x04,                        //
    SYNC_PAUSE, 1,                                               //
    SYNC_SAVE_TRACKS,
};

std::vector<SyncMessage> Split(const std::vector<uint8_t>& bytes, size_t piece) {
  SyncMessageReader reader;
  std::vector<SyncMessage> messages;
  for (size_t at = 0; at < bytes.size(); at += piece) {
    reader.Feed(bytes.data() + at, std::min(piece, bytes.size() - at));
    SyncMessage message;
    while (reader.Next(message)) messages.push_back(message);
  }
  return messages;
}

TEST(SyncProtocol, SplitsTheEditorsMessagesWhateverThePieces) {
  for (size_t piece : {1u, 3u, 14u, 100u}) {
    const std::vector<SyncMessage> messages = Split(EDITOR_STREAM, piece);
    ASSERT_EQ(messages.size(), 5u) << piece;
    EXPECT_EQ(messages[0].command, SYNC_SET_KEY);
    EXPECT_EQ(messages[0].track, 2u);
    EXPECT_EQ(messages[0].row, 256u);
    EXPECT_EQ(messages[0].value, 1.5f);
    EXPECT_EQ(messages[0].interpolation, 3);
    EXPECT_EQ(messages[1].command, SYNC_DELETE_KEY);
    EXPECT_EQ(messages[1].track, 1u);
    EXPECT_EQ(messages[1].row, 7u);
    EXPECT_EQ(messages[2].row, 0x01020304u);
    EXPECT_TRUE(messages[3].paused);
    EXPECT_EQ(messages[4].command, SYNC_SAVE_TRACKS);
  }
}

TEST(SyncProtocol, StopsAtACommandNoEditorSends) {
  SyncMessageReader reader;
  const std::vector<uint8_t> bytes = {SYNC_PAUSE, 0, SYNC_GET_TRACK, 0, 0, 0, 0};
  reader.Feed(bytes.data(), bytes.size());
  SyncMessage message;
  EXPECT_TRUE(reader.Next(message));
  EXPECT_FALSE(message.paused);
  EXPECT_FALSE(reader.Next(message));
  EXPECT_TRUE(reader.Broken());
  EXPECT_EQ(reader.BrokenCommand(), SYNC_GET_TRACK);
}

TEST(SyncProtocol, WritesOurMessagesBigEndian) {
  EXPECT_EQ(SyncGetTrackMessage("cam:x"), (std::vector<uint8_t>{2, 0, 0, 0, 5, 'c', 'a', 'm', ':', 'x'}));
  EXPECT_EQ(SyncSetRowMessage(0x00A1B2C3), (std::vector<uint8_t>{3, 0x00, 0xA1, 0xB2, 0xC3}));
}

}  // namespace
