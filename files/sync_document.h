#pragma once
// The tracks of a production ("data\sync\tracks.xml"), in the layout sync editors save:
// <sync rows="R"><tracks><track name="N"><key row="0" value="1" interpolation="0"/>...</track>
// </tracks></sync>, with "bpm" and "rowsPerBeat" of our own on <sync>. Pure: text in, struct out.
// What the reader does not use (an editor's other elements and attributes) is kept and written
// back, so a file saved here still opens in the editor as it was.

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "files/sync_track.h"
#include "files/xml_element.h"

inline constexpr const char SYNC_TRACKS_PATH[] = "data\\sync\\tracks.xml";
constexpr double SYNC_DEFAULT_BPM = 120.0;
constexpr double SYNC_DEFAULT_ROWS_PER_BEAT = 8.0;

struct SyncDocument {
  double bpm = SYNC_DEFAULT_BPM;
  double rowsPerBeat = SYNC_DEFAULT_ROWS_PER_BEAT;
  uint32_t rows = 0;  // the editor's grid length; 0 when not written
  std::vector<SyncTrack> tracks;  // only ever added to, so that the index below stays true
  // Track name to its place in tracks, rebuilt by FindSyncTrack when tracks has grown: a frame
  // finds its keyed constants' tracks without comparing names against every track.
  mutable std::unordered_map<std::string, size_t> nameIndex;
  mutable size_t indexedTracks = 0;
  std::vector<uint32_t> bookmarks;  // ascending
  std::vector<XmlElement> keptElements;  // children of <sync> not read here, in order
  std::vector<std::pair<std::string, std::string>> keptAttributes;  // of <sync>
};

// Something in the file the reader passed over or mended: keys out of order or on one row twice
// (the last written wins), an unknown interpolation (played as a step), a key without a row.
struct SyncFinding {
  int line;
  std::string text;
};

struct SyncReadResult {
  bool ok = false;
  std::string error;  // why the text is not a tracks file, with its line, when not ok
  std::vector<SyncFinding> findings;
};

// Reads text (length bytes) into document.
SyncReadResult ReadSyncDocument(const char* text, size_t length, SyncDocument& document);

// The file text for document.
std::string SyncDocumentXml(const SyncDocument& document);

// The fractional row at demo time ms.
double SyncRowAt(const SyncDocument& document, uint32_t ms);
// The first whole ms of demo time in row (rounded up, so the row there is row).
uint32_t SyncTimeOfRow(const SyncDocument& document, uint32_t row);

// The track named name, or null.
const SyncTrack* FindSyncTrack(const SyncDocument& document, const std::string& name);
SyncTrack* FindSyncTrack(SyncDocument& document, const std::string& name);
// The same found by comparing names in order: the reference the index is tested against.
const SyncTrack* FindSyncTrackInOrder(const SyncDocument& document, const std::string& name);
