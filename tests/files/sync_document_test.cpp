// The tracks file: read as an editor saves it, written back with what we do not read kept, and
// every doubtful key named with its line.
#include <gtest/gtest.h>

#include <string>

#include "files/sync_document.h"

namespace {

SyncDocument Read(const std::string& text, SyncReadResult* out = nullptr) {
  SyncDocument document;
  SyncReadResult result = ReadSyncDocument(text.c_str(), text.size(), document);
  EXPECT_TRUE(result.ok) << result.error;
  if (out) *out = result;
  return document;
}

const char EDITOR_FILE[] =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
    "<sync rows=\"512\" theme=\"dark\">\n"
    "<tracks>\n"
    "<track name=\"cam:shake\" folded=\"0\">\n"
    "<key row=\"0\" value=\"0\" interpolation=\"1\"/>\n"
    "<key row=\"16\" value=\"0.25\" interpolation=\"0\"/>\n"
    "</track>\n"
    "<track name=\"flash\"/>\n"
    "</tracks>\n"
    "<bookmarks><bookmark row=\"64\"/><bookmark row=\"32\"/></bookmarks>\n"
    "<colors><color track=\"flash\" rgb=\"#ff0000\">note &amp; text</color></colors>\n"
    "</sync>\n";

TEST(SyncDocument, ReadsWhatEditorsSaveAndWritesItBack) {
  const SyncDocument document = Read(EDITOR_FILE);
  EXPECT_EQ(document.rows, 512u);
  EXPECT_EQ(document.bpm, SYNC_DEFAULT_BPM);
  EXPECT_EQ(document.rowsPerBeat, SYNC_DEFAULT_ROWS_PER_BEAT);
  ASSERT_EQ(document.tracks.size(), 2u);
  EXPECT_EQ(document.tracks[0].name, "cam:shake");
  EXPECT_EQ(document.tracks[0].line, 4);
  ASSERT_EQ(document.tracks[0].keys.size(), 2u);
  EXPECT_EQ(document.tracks[0].keys[1].value, 0.25f);
  EXPECT_EQ(document.tracks[0].keys[0].interpolation, SYNC_LINEAR);
  EXPECT_TRUE(document.tracks[1].keys.empty());
  EXPECT_EQ(document.bookmarks, (std::vector<uint32_t>{32, 64}));

  const std::string written = SyncDocumentXml(document);
  EXPECT_NE(written.find("<colors>"), std::string::npos) << written;
  EXPECT_NE(written.find("rgb=\"#ff0000\">note &amp; text</color>"), std::string::npos) << written;
  EXPECT_NE(written.find("theme=\"dark\""), std::string::npos) << written;
  const SyncDocument again = Read(written);
  EXPECT_EQ(SyncDocumentXml(again), written);
  EXPECT_EQ(again.bookmarks, document.bookmarks);
  ASSERT_EQ(again.keptElements.size(), 1u);
}

TEST(SyncDocument, WritesBackNamesReadInAnotherEncoding) {
  // A name read in another encoding is not UTF-8.
  const std::string text = "<sync a-b=\"1\"><tracks><track name=\"f\xEDx\xA0\"/></tracks></sync>";
  const SyncDocument document = Read(text);
  ASSERT_EQ(document.tracks.size(), 1u);
  const std::string written = SyncDocumentXml(document);
  EXPECT_NE(written.find("name=\"f&#xED;x&#xA0;\""), std::string::npos) << written;
  EXPECT_NE(written.find("a-b=\"1\""), std::string::npos) << written;
  const SyncDocument again = Read(written);
  ASSERT_EQ(again.tracks.size(), 1u);
  EXPECT_EQ(again.tracks[0].name, document.tracks[0].name);
  EXPECT_EQ(SyncDocumentXml(again), written);
}

TEST(SyncDocument, TempoAndRowsConvertBothWays) {
  const SyncDocument document = Read("<sync bpm=\"150\" rowsPerBeat=\"4\"><tracks/></sync>");
  EXPECT_EQ(document.bpm, 150.0);
  EXPECT_EQ(document.rowsPerBeat, 4.0);
  // 150 beats a minute, 4 rows a beat: 10 rows a second.
  EXPECT_DOUBLE_EQ(SyncRowAt(document, 1500), 15.0);
  EXPECT_DOUBLE_EQ(SyncRowAt(document, 1550), 15.5);
  EXPECT_EQ(SyncTimeOfRow(document, 15), 1500u);
  const SyncDocument round = Read(SyncDocumentXml(document));
  EXPECT_EQ(round.bpm, 150.0);
  EXPECT_EQ(round.rowsPerBeat, 4.0);
}

TEST(SyncDocument, NamesDoubtfulKeysWithTheirLines) {
  SyncReadResult result;
  const SyncDocument document = Read(
      "<sync bpm=\"-3\">\n"                                   // 1
      "<tracks><track name=\"a\">\n"                           // 2
      "<key row=\"8\" value=\"1\" interpolation=\"1\"/>\n"     // 3
      "<key row=\"4\" value=\"2\" interpolation=\"1\"/>\n"     // 4 out of order
      "<key row=\"8\" value=\"3\" interpolation=\"9\"/>\n"     // 5 twice, unknown type
      "<key row=\"x\" value=\"3\"/>\n"                         // 6 no row
      "<key row=\"12\" value=\"nan\"/>\n"                      // 7 not a number
      "</track><track name=\"a\"/><track/></tracks></sync>\n",  // 8 twice, no name
      &result);
  std::vector<std::pair<int, std::string>> found;
  for (const SyncFinding& finding : result.findings) found.emplace_back(finding.line, finding.text);
  const std::vector<std::pair<int, std::string>> expected = {
      {1, "\"bpm\" is not a positive number: 120 is used"},
      {4, "track \"a\": row 4 is out of order"},
      {5, "track \"a\": row 8: unknown interpolation \"9\" (0 to 3); played as a step"},
      {5, "track \"a\": row 8 has a key twice; the last one is used"},
      {6, "track \"a\": a key without a whole row number is left out"},
      {7, "track \"a\": row 12: the value is not a number; 0 is used"},
      {8, "track \"a\" is written twice; the first one is used"},
      {8, "a track without a name is left out"},
  };
  EXPECT_EQ(found, expected);
  ASSERT_EQ(document.tracks.size(), 1u);
  const SyncTrack& track = document.tracks[0];
  ASSERT_EQ(track.keys.size(), 3u);
  EXPECT_EQ(track.keys[1].row, 8u);
  EXPECT_EQ(track.keys[1].value, 3.0f);
  EXPECT_EQ(track.keys[1].interpolation, SYNC_STEP);
}

TEST(SyncDocument, TheNameIndexFindsWhatTheSearchInOrderFinds) {
  SyncDocument document = Read(EDITOR_FILE);
  const std::vector<std::string> names = {"cam:shake", "flash", "fade", "", "cam:shake.y", "Flash"};
  auto agree = [&] {
    for (const std::string& name : names) EXPECT_EQ(FindSyncTrack(document, name), FindSyncTrackInOrder(document, name)) << name;
  };
  agree();
  document.tracks.push_back({"fade", {}, 0});
  agree();
  SyncDocument copy = document;
  copy.tracks.push_back({"cam:shake.y", {}, 0});
  document = copy;
  agree();
  ASSERT_NE(FindSyncTrack(document, "cam:shake.y"), nullptr);
}

TEST(SyncDocument, RefusesTextThatIsNoTracksFile) {
  for (const std::string& text : std::vector<std::string>{"", "<sync><tracks>", "<other/>", "<sync><tracks></sync>"}) {
    SyncDocument document;
    const SyncReadResult result = ReadSyncDocument(text.c_str(), text.size(), document);
    EXPECT_FALSE(result.ok) << text;
    EXPECT_FALSE(result.error.empty()) << text;
  }
}

}  // namespace
