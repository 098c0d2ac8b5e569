#include "files/sync_document.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "files/definition_xml.h"
#include "files/xml_encoding.h"
#include "files/xml_error.h"
#include "files/xml_parser.h"
#include "files/xml_writing.h"

namespace {

constexpr char ROOT_TAG[] = "sync";
constexpr double MAX_TEMPO = 1.0e6;

// Where in the text an element is written; the reader keeps the text for this.
class LineFinder {
 public:
  LineFinder(const std::string& text) : mText(text) {}
  int LineOf(const XmlElement& element) const {
    int line = 1;
    int column = 1;
    XmlLineAndColumn(mText.c_str(), std::min(element.SourceOffset(), mText.size()), CurrentXmlEncoding(), line, column);
    return line;
  }

 private:
  const std::string& mText;
};

bool ParseWholeRow(const char* text, uint32_t& row) {
  if (!text || *text < '0' || *text > '9') return false;
  errno = 0;
  char* end = nullptr;
  const unsigned long long value = std::strtoull(text, &end, 10);
  if (errno != 0 || *end != '\0' || value > UINT32_MAX) return false;
  row = static_cast<uint32_t>(value);
  return true;
}

bool ParseFiniteFloat(const char* text, float& value) {
  if (!text || !*text) return false;
  char* end = nullptr;
  value = std::strtof(text, &end);
  return *end == '\0' && std::isfinite(value);
}

// A tempo attribute: its default when absent, a finding when not a positive number.
double ReadTempo(const XmlElement& root, const char* name, double fallback, const LineFinder& lines,
                 SyncReadResult& result) {
  const char* text = root.Attribute(name);
  if (!text) return fallback;
  char* end = nullptr;
  const double value = std::strtod(text, &end);
  if (*end == '\0' && value > 0 && value <= MAX_TEMPO) return value;
  result.findings.push_back({lines.LineOf(root), std::string("\"") + name + "\" is not a positive number: " +
                                                     ShortestDoubleText(fallback) + " is used"});
  return fallback;
}

void ReadKey(const XmlElement& element, const LineFinder& lines, SyncTrack& track, SyncReadResult& result) {
  const int line = lines.LineOf(element);
  SyncKey key;
  if (!ParseWholeRow(element.Attribute("row"), key.row)) {
    result.findings.push_back({line, "track \"" + track.name + "\": a key without a whole row number is left out"});
    return;
  }
  if (!ParseFiniteFloat(element.Attribute("value"), key.value)) {
    result.findings.push_back({line, "track \"" + track.name + "\": row " + std::to_string(key.row) +
                                         ": the value is not a number; 0 is used"});
    key.value = 0;
  }
  const char* interpolation = element.Attribute("interpolation");
  const int type = interpolation ? ParseSyncInterpolation(interpolation) : SYNC_STEP;
  if (type < 0) {
    result.findings.push_back({line, "track \"" + track.name + "\": row " + std::to_string(key.row) +
                                         ": unknown interpolation \"" + interpolation + "\" (0 to 3); played as a step"});
  }
  key.interpolation = static_cast<uint8_t>(type < 0 ? SYNC_STEP : type);
  if (!track.keys.empty() && track.keys.back().row >= key.row) {
    const bool twice = FindSyncKey(track, key.row) != nullptr;
    result.findings.push_back({line, "track \"" + track.name + "\": row " + std::to_string(key.row) +
                                         (twice ? " has a key twice; the last one is used" : " is out of order")});
  }
  SetSyncKey(track, key);
}

void ReadTrack(const XmlElement& element, const LineFinder& lines, SyncDocument& document, SyncReadResult& result) {
  SyncTrack track;
  const char* name = element.Attribute("name");
  track.name = name ? name : "";
  track.line = lines.LineOf(element);
  if (track.name.empty()) {
    result.findings.push_back({track.line, "a track without a name is left out"});
    return;
  }
  if (FindSyncTrack(document, track.name)) {
    result.findings.push_back({track.line, "track \"" + track.name + "\" is written twice; the first one is used"});
    return;
  }
  for (int i = 0; i < element.ChildCount("key"); ++i) ReadKey(element.Child("key", i), lines, track, result);
  document.tracks.push_back(std::move(track));
}

void ReadBookmarks(const XmlElement& element, SyncDocument& document) {
  for (int i = 0; i < element.ChildCount("bookmark"); ++i) {
    uint32_t row = 0;
    if (ParseWholeRow(element.Child("bookmark", i).Attribute("row"), row)) document.bookmarks.push_back(row);
  }
  std::sort(document.bookmarks.begin(), document.bookmarks.end());
  document.bookmarks.erase(std::unique(document.bookmarks.begin(), document.bookmarks.end()), document.bookmarks.end());
}

bool IsReadAttribute(const char* name) {
  return XmlNamesEqual(name, "rows") || XmlNamesEqual(name, "bpm") || XmlNamesEqual(name, "rowsPerBeat");
}

void ReadRoot(const XmlElement& root, const LineFinder& lines, SyncDocument& document, SyncReadResult& result) {
  document.bpm = ReadTempo(root, "bpm", SYNC_DEFAULT_BPM, lines, result);
  document.rowsPerBeat = ReadTempo(root, "rowsPerBeat", SYNC_DEFAULT_ROWS_PER_BEAT, lines, result);
  uint32_t rows = 0;
  if (ParseWholeRow(root.Attribute("rows"), rows)) document.rows = rows;
  for (int i = 0; i < root.AttributeCount(); ++i) {
    const char* value = root.AttributeValue(i);
    if (!IsReadAttribute(root.AttributeName(i))) document.keptAttributes.emplace_back(root.AttributeName(i), value ? value : "");
  }
  for (int i = 0; i < root.ElementCount(); ++i) {
    const XmlElement child = root.Element(i);
    if (XmlNamesEqual(child.Name(), "tracks")) {
      for (int t = 0; t < child.ChildCount("track"); ++t) ReadTrack(child.Child("track", t), lines, document, result);
    } else if (XmlNamesEqual(child.Name(), "bookmarks")) {
      ReadBookmarks(child, document);
    } else {
      document.keptElements.push_back(child);
    }
  }
}

std::string TrackXml(const SyncTrack& track) {
  std::string xml = "    <track" + XmlAttributeText("name", track.name);
  if (track.keys.empty()) return xml + "/>\n";
  xml += ">\n";
  for (const SyncKey& key : track.keys) {
    xml += "      <key" + XmlAttributeText("row", std::to_string(key.row)) +
           XmlAttributeText("value", ShortestFloatText(key.value)) +
           XmlAttributeText("interpolation", std::to_string(key.interpolation)) + "/>\n";
  }
  return xml + "    </track>\n";
}

}  // namespace

SyncReadResult ReadSyncDocument(const char* text, size_t length, SyncDocument& document) {
  document = SyncDocument();
  SyncReadResult result;
  const std::string copy(text ? text : "", text ? length : 0);
  const XmlParseResult parsed = ParseXmlText(copy.c_str(), copy.size(), ROOT_TAG);
  if (parsed.code != XML_ERROR_NONE) {
    result.error = parsed.code == XML_ERROR_FIRST_TAG_NOT_FOUND
                       ? "no <sync> element"
                       : std::string(XmlErrorText(parsed.code)) + " at line " + std::to_string(parsed.line) +
                             ", column " + std::to_string(parsed.column);
    return result;
  }
  ReadRoot(parsed.root, LineFinder(copy), document, result);
  result.ok = true;
  return result;
}

std::string SyncDocumentXml(const SyncDocument& document) {
  std::string xml = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<sync";
  xml += XmlAttributeText("rows", std::to_string(document.rows));
  xml += XmlAttributeText("bpm", ShortestDoubleText(document.bpm));
  xml += XmlAttributeText("rowsPerBeat", ShortestDoubleText(document.rowsPerBeat));
  for (const auto& [name, value] : document.keptAttributes) {
    if (IsXmlName(name.c_str())) xml += XmlAttributeText(name.c_str(), value);
  }
  xml += ">\n  <tracks>\n";
  for (const SyncTrack& track : document.tracks) xml += TrackXml(track);
  xml += "  </tracks>\n";
  if (!document.bookmarks.empty()) {
    xml += "  <bookmarks>\n";
    for (uint32_t row : document.bookmarks) xml += "    <bookmark" + XmlAttributeText("row", std::to_string(row)) + "/>\n";
    xml += "  </bookmarks>\n";
  }
  for (const XmlElement& element : document.keptElements) {
    if (IsXmlName(element.Name())) xml += XmlElementText(element, 1);
  }
  return xml + "</sync>\n";
}

double SyncRowAt(const SyncDocument& document, uint32_t ms) {
  return static_cast<double>(ms) / 60000.0 * document.bpm * document.rowsPerBeat;
}

uint32_t SyncTimeOfRow(const SyncDocument& document, uint32_t row) {
  const double ms = std::ceil(static_cast<double>(row) * 60000.0 / (document.bpm * document.rowsPerBeat));
  return ms >= static_cast<double>(UINT32_MAX) ? UINT32_MAX : static_cast<uint32_t>(ms);
}

const SyncTrack* FindSyncTrack(const SyncDocument& document, const std::string& name) {
  if (document.indexedTracks != document.tracks.size()) {
    document.nameIndex.clear();
    document.indexedTracks = document.tracks.size();
    // The first of a name wins, as the reader keeps it.
    for (size_t i = 0; i < document.tracks.size(); ++i) document.nameIndex.emplace(document.tracks[i].name, i);
  }
  auto found = document.nameIndex.find(name);
  return found == document.nameIndex.end() ? nullptr : &document.tracks[found->second];
}

SyncTrack* FindSyncTrack(SyncDocument& document, const std::string& name) {
  return const_cast<SyncTrack*>(FindSyncTrack(static_cast<const SyncDocument&>(document), name));
}

const SyncTrack* FindSyncTrackInOrder(const SyncDocument& document, const std::string& name) {
  for (const SyncTrack& track : document.tracks) {
    if (track.name == name) return &track;
  }
  return nullptr;
}
