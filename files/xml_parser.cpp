#include "files/xml_parser.h"

#include <strings.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>

#include "files/xml_error.h"

namespace {

// Zero bytes after the text, so that a character width never steps outside the buffer.
constexpr size_t PADDING = 4;

enum CharClass : uint8_t { SPACE = 1, NAME_END = 2, PLAIN_END = 4 };

constexpr std::array<uint8_t, 256> MakeClasses() {
  std::array<uint8_t, 256> classes{};
  for (char c : {' ', '\t', '\n', '\r'}) classes[uint8_t(c)] = SPACE | NAME_END | PLAIN_END;
  for (char c : {'/', '>', '<', '=', '?', '"', '\''}) classes[uint8_t(c)] |= NAME_END;
  for (char c : {'>', '<'}) classes[uint8_t(c)] |= PLAIN_END;
  classes[0] = NAME_END | PLAIN_END;
  return classes;
}

constexpr std::array<uint8_t, 256> CLASSES = MakeClasses();

inline bool Is(char c, uint8_t mask) { return CLASSES[uint8_t(c)] & mask; }

// What a scan runs over. Each stops at the end of the text; all but names also stop at "&".
enum ScanKind { SCAN_NAME, SCAN_TEXT, SCAN_DOUBLE_QUOTED, SCAN_SINGLE_QUOTED, SCAN_PLAIN, SCAN_CLEAR, SCAN_KINDS };

constexpr bool StopsScan(ScanKind kind, unsigned char c) {
  if (c == 0) return true;
  switch (kind) {
    case SCAN_NAME: return CLASSES[c] & NAME_END;
    case SCAN_TEXT: return c == '<' || c == '&';
    case SCAN_DOUBLE_QUOTED: return c == '"' || c == '<' || c == '&';
    case SCAN_SINGLE_QUOTED: return c == '\'' || c == '<' || c == '&';
    case SCAN_PLAIN: return (CLASSES[c] & PLAIN_END) || c == '/' || c == '?' || c == '&';
    case SCAN_CLEAR: return c == ']' || c == '>' || c == '<' || c == '-';
    case SCAN_KINDS: break;
  }
  return true;
}

// Per encoding and kind, the bytes to step over a character, or 0 where the scan stops.
using StepTable = std::array<uint8_t, 256>;
using StepTables = std::array<std::array<StepTable, SCAN_KINDS>, 3>;

constexpr StepTables MakeStepTables() {
  StepTables tables{};
  for (XmlEncoding encoding : {XmlEncoding::Utf8, XmlEncoding::Legacy, XmlEncoding::ShiftJis}) {
    for (int kind = 0; kind < SCAN_KINDS; ++kind) {
      for (int c = 0; c < 256; ++c) {
        bool stops = StopsScan(ScanKind(kind), uint8_t(c));
        tables[int(encoding)][kind][c] = stops ? 0 : uint8_t(XmlCharacterWidth(encoding, uint8_t(c)));
      }
    }
  }
  return tables;
}

constexpr StepTables STEP_TABLES = MakeStepTables();

struct ClearMark {
  std::string_view open;
  std::string_view close;
};

constexpr ClearMark CLEAR_MARKS[] = {
    {"<![CDATA[", "]]>"}, {"<!DOCTYPE", ">"}, {"<PRE>", "</PRE>"}, {"<Script>", "</Script>"}, {"<!--", "-->"},
};


struct NamedEntity {
  const char* name;  // without "&"
  char value;
};

constexpr NamedEntity ENTITIES[] = {{"amp;", '&'}, {"lt;", '<'}, {"gt;", '>'}, {"quot;", '"'}, {"apos;", '\''}};

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

class XmlParser {
 public:
  XmlParser(XmlDocument& document, char* begin, char* end, XmlEncoding encoding)
      : mDocument(document),
        mBegin(begin),
        mEnd(end),
        mWidths(XmlCharacterWidths(encoding)),
        mSteps(STEP_TABLES[int(encoding)]),
        mAt(begin) {}

  void Parse();
  int Code() const { return mCode; }
  size_t StopIndex() const { return size_t(mStop - mBegin); }

 private:
  // Steps over one character, never past the end of the text.
  char* Next(char* at) const { return std::min(at + mWidths[uint8_t(*at)], mEnd); }
  void SkipSpace() {
    while (Is(*mAt, SPACE)) ++mAt;
  }
  // Steps over characters up to the first that stops kind (or the end of the text), noting
  // whether an "&" was passed.
  char* Scan(char* at, ScanKind kind, bool& ampersand) const {
    const StepTable& steps = mSteps[kind];
    for (;;) {
      at = SkipSingleBytes(at, steps);
      if (uint8_t step = steps[uint8_t(*at)]) {
        at += step;
        continue;
      }
      // The padding after the text stops every scan, however far the last character reached.
      if (*at != '&' || kind == SCAN_NAME) return std::min(at, mEnd);
      ampersand = true;
      ++at;
    }
  }
  // Steps over single-byte characters that do not stop the scan. Unrolled with fixed steps, so
  // that each load does not wait for the one before it.
  static char* SkipSingleBytes(char* at, const StepTable& steps) {
    for (;;) {
      if (steps[uint8_t(at[0])] != 1) return at;
      if (steps[uint8_t(at[1])] != 1) return at + 1;
      if (steps[uint8_t(at[2])] != 1) return at + 2;
      if (steps[uint8_t(at[3])] != 1) return at + 3;
      at += 4;
    }
  }
  char* ScanName(char* at) const {
    bool unused = false;
    return Scan(at, SCAN_NAME, unused);
  }
  // Whether the text at at begins with prefix (never comparing past the end of the text).
  bool StartsWith(const char* at, std::string_view prefix) const {
    return size_t(mEnd - at) >= prefix.size() && std::memcmp(at, prefix.data(), prefix.size()) == 0;
  }
  bool Fail(int code, char* at) {
    mCode = code;
    mStop = at;
    return false;
  }

  uint32_t AddNode(const char* name, bool declaration);
  bool ParseClearRun(bool& matched);
  bool ParseStartTag();
  bool ParseAttributes(uint32_t node, bool declaration, std::vector<char*>& terminators, bool& open);
  bool ParseAttributeValue(const char*& value, std::vector<char*>& terminators);
  bool ParseEndTag();
  bool ParseText();
  bool CloseAtEnd();
  // Decodes the entities of [begin, end) in place and returns the new end, or null after Fail.
  char* DecodeEntities(char* begin, char* end);
  bool DecodeEntity(char*& in, char*& out, char* end);
  bool OpenNameMatches(uint32_t node, const char* name, size_t length) const;

  XmlDocument& mDocument;
  char* mBegin;
  char* mEnd;
  const uint8_t* mWidths;
  const std::array<StepTable, SCAN_KINDS>& mSteps;
  char* mAt;
  char* mStop = nullptr;
  int mCode = XML_ERROR_NONE;
  uint32_t mCurrent = 0;
  std::vector<char*> mTerminators;
};

uint32_t XmlParser::AddNode(const char* name, bool declaration) {
  auto index = uint32_t(mDocument.nodes.size());
  mDocument.nodes.push_back(XmlNode{name, mCurrent, XML_NO_NODE, XML_NO_NODE, XML_NO_NODE, 0,
                                    uint32_t(mDocument.attributes.size()), 0, declaration});
  XmlNode& parent = mDocument.nodes[mCurrent];
  if (parent.lastChild == XML_NO_NODE) {
    parent.firstChild = index;
  } else {
    mDocument.nodes[parent.lastChild].nextSibling = index;
  }
  parent.lastChild = index;
  ++parent.childCount;
  return index;
}

void XmlParser::Parse() {
  mDocument.nodes.push_back(XmlNode{"", XML_NO_NODE, XML_NO_NODE, XML_NO_NODE, XML_NO_NODE, 0, 0, 0, false});
  for (;;) {
    SkipSpace();
    if (*mAt == '\0') break;
    bool ok;
    if (*mAt != '<') {
      ok = ParseText();
    } else {
      bool matched = false;
      ok = ParseClearRun(matched);
      if (ok && !matched) ok = mAt[1] == '/' ? ParseEndTag() : ParseStartTag();
    }
    if (!ok) return;
  }
  CloseAtEnd();
}

bool XmlParser::ParseClearRun(bool& matched) {
  // Every clear mark begins with "<!", "<P" or "<S".
  if (mAt[1] != '!' && mAt[1] != 'P' && mAt[1] != 'S') return true;
  for (const ClearMark& mark : CLEAR_MARKS) {
    if (!StartsWith(mAt, mark.open)) continue;
    matched = true;
    char* content = mAt + mark.open.size();
    char* at = content;
    bool unused = false;
    for (;;) {
      at = Scan(at, SCAN_CLEAR, unused);
      if (*at == '\0' || (*at == mark.close[0] && StartsWith(at, mark.close))) break;
      at = Next(at);
    }
    if (*at == '\0') return Fail(XML_ERROR_UNMATCHED_CLEAR_TAG_END, mAt);
    mDocument.runs.push_back({mCurrent, {std::string_view(content, size_t(at - content)), true}});
    mAt = at + mark.close.size();
    return true;
  }
  return true;
}

bool XmlParser::ParseStartTag() {
  char* tagStart = mAt;
  bool declaration = mAt[1] == '?';
  mAt += declaration ? 2 : 1;
  char* name = mAt;
  char* nameEnd = ScanName(name);
  if (nameEnd == name) return Fail(XML_ERROR_MISSING_START_TAG_NAME, tagStart);
  uint32_t node = AddNode(name, declaration);
  // Names and unquoted values end at a delimiter that is still to be read, so their terminators
  // are written once the tag has been read (or has failed, so that names stay readable).
  mTerminators.clear();
  mTerminators.push_back(nameEnd);
  mAt = nameEnd;
  bool open = false;
  bool ok = ParseAttributes(node, declaration, mTerminators, open);
  for (char* terminator : mTerminators) *terminator = '\0';
  if (ok && open) mCurrent = node;
  return ok;
}

bool XmlParser::ParseAttributes(uint32_t node, bool declaration, std::vector<char*>& terminators, bool& open) {
  for (;;) {
    SkipSpace();
    char c = *mAt;
    if (c == '>' || (c == '?' && mAt[1] == '>' && declaration)) {
      mAt += c == '>' ? 1 : 2;
      open = true;
      return true;
    }
    if (c == '/' && mAt[1] == '>' && !declaration) {
      mAt += 2;
      return true;
    }
    if (c == '\0') return Fail(XML_WARNING_UNMATCHED_END_TAG, mEnd);
    if (Is(c, NAME_END)) return Fail(XML_ERROR_UNEXPECTED_TOKEN, mAt);
    char* attributeName = mAt;
    mAt = ScanName(mAt);
    terminators.push_back(mAt);
    SkipSpace();
    const char* value = nullptr;
    if (*mAt == '=') {
      ++mAt;
      SkipSpace();
      if (!ParseAttributeValue(value, terminators)) return false;
    }
    mDocument.attributes.push_back({attributeName, value});
    ++mDocument.nodes[node].attributeCount;
  }
}

bool XmlParser::ParseAttributeValue(const char*& value, std::vector<char*>& terminators) {
  char quote = *mAt;
  bool ampersand = false;
  if (quote == '"' || quote == '\'') {
    char* at = Scan(mAt + 1, quote == '"' ? SCAN_DOUBLE_QUOTED : SCAN_SINGLE_QUOTED, ampersand);
    if (*at == quote) {
      char* end = ampersand ? DecodeEntities(mAt + 1, at) : at;
      if (!end) return false;
      *end = '\0';
      value = mAt + 1;
      mAt = at + 1;
      return true;
    }
    // A quote without its partner before markup or the end is plain text.
  } else if (quote == '\0') {
    return Fail(XML_WARNING_UNMATCHED_END_TAG, mEnd);
  } else if (Is(quote, PLAIN_END) || ((quote == '/' || quote == '?') && mAt[1] == '>')) {
    return Fail(XML_ERROR_UNEXPECTED_TOKEN, mAt);
  }
  char* at = mAt;
  for (;;) {
    at = Scan(at, SCAN_PLAIN, ampersand);
    if ((*at != '/' && *at != '?') || at[1] == '>') break;
    ++at;
  }
  char* end = ampersand ? DecodeEntities(mAt, at) : at;
  if (!end) return false;
  terminators.push_back(end);
  value = mAt;
  mAt = at;
  return true;
}

bool XmlParser::OpenNameMatches(uint32_t node, const char* name, size_t length) const {
  const char* open = mDocument.nodes[node].name;
  return strncasecmp(open, name, length) == 0 && open[length] == '\0';
}

bool XmlParser::ParseEndTag() {
  char* tagStart = mAt;
  char* name = mAt + 2;
  char* nameEnd = ScanName(name);
  if (nameEnd == name) return Fail(XML_ERROR_MISSING_END_TAG_NAME, tagStart);
  mAt = nameEnd;
  SkipSpace();
  if (*mAt == '\0') return Fail(XML_WARNING_UNMATCHED_END_TAG, mEnd);
  if (*mAt != '>') return Fail(XML_ERROR_UNEXPECTED_TOKEN, mAt);
  ++mAt;
  auto length = size_t(nameEnd - name);
  uint32_t node = mCurrent;
  // Declarations close silently when an element around them ends.
  while (node != 0 && mDocument.nodes[node].declaration && !OpenNameMatches(node, name, length)) {
    node = mDocument.nodes[node].parent;
  }
  if (node == 0 || !OpenNameMatches(node, name, length)) return Fail(XML_ERROR_UNMATCHED_END_TAG, tagStart);
  mCurrent = mDocument.nodes[node].parent;
  return true;
}

bool XmlParser::ParseText() {
  char* begin = mAt;
  bool ampersand = false;
  char* at = Scan(begin, SCAN_TEXT, ampersand);
  mAt = at;
  char* end = ampersand ? DecodeEntities(begin, at) : at;
  if (!end) return false;
  while (end > begin && Is(end[-1], SPACE)) --end;
  mDocument.runs.push_back({mCurrent, {std::string_view(begin, size_t(end - begin)), false}});
  return true;
}

bool XmlParser::CloseAtEnd() {
  uint32_t node = mCurrent;
  while (node != 0 && mDocument.nodes[node].declaration) node = mDocument.nodes[node].parent;
  if (node != 0) return Fail(XML_WARNING_UNMATCHED_END_TAG, mEnd);
  return true;
}

char* XmlParser::DecodeEntities(char* begin, char* end) {
  // Characters are copied whole, so a "&" inside a multibyte character is not a reference.
  char* in = begin;
  char* out = begin;
  while (in < end) {
    if (*in == '&') {
      if (!DecodeEntity(in, out, end)) return nullptr;
      continue;
    }
    char* next = std::min(Next(in), end);
    while (in < next) *out++ = *in++;
  }
  return out;
}

bool XmlParser::DecodeEntity(char*& in, char*& out, char* end) {
  char* reference = in;
  auto left = size_t(end - in - 1);
  for (const NamedEntity& entity : ENTITIES) {
    size_t length = std::strlen(entity.name);
    if (left >= length && strncasecmp(in + 1, entity.name, length) == 0) {
      *out++ = entity.value;
      in += 1 + length;
      return true;
    }
  }
  if (left < 1 || in[1] != '#') return Fail(XML_ERROR_UNKNOWN_CHARACTER_ENTITY, reference);
  in += 2;
  bool hex = in < end && (*in == 'x' || *in == 'X');
  if (hex) ++in;
  uint32_t value = 0;
  char* digits = in;
  for (; in < end && *in != ';'; ++in) {
    int digit = hex ? HexDigit(*in) : (*in >= '0' && *in <= '9' ? *in - '0' : -1);
    if (digit < 0) return Fail(XML_ERROR_UNKNOWN_CHARACTER_ENTITY, reference);
    value = value * (hex ? 16 : 10) + uint32_t(digit);
  }
  if (in == end || in == digits) return Fail(XML_ERROR_UNKNOWN_CHARACTER_ENTITY, reference);
  ++in;
  *out++ = char(value & 0xFF);
  return true;
}

}  // namespace

XmlParseOutcome ParseXmlTree(const char* text, size_t length, XmlEncoding encoding) {
  if (!text) return {nullptr, XML_ERROR_NO_ELEMENTS, 0};
  size_t size = strnlen(text, length);
  auto document = std::make_shared<XmlDocument>();
  // Left uninitialised, as the copy below fills it (the browser build's libc++ lacks
  // make_unique_for_overwrite).
  document->buffer.reset(new char[size + PADDING]);
  char* buffer = document->buffer.get();
  std::memcpy(buffer, text, size);
  std::memset(buffer + size, 0, PADDING);
  // Room for the density of a typical definition file, so the arrays seldom grow.
  document->nodes.reserve(size / 64 + 1);
  document->attributes.reserve(size / 16 + 1);
  XmlParser parser(*document, buffer, buffer + size, encoding);
  parser.Parse();
  return {document, parser.Code(), parser.StopIndex()};
}

uint32_t FindXmlRoot(const XmlDocument& document, const char* rootTag) {
  const std::vector<XmlNode>& nodes = document.nodes;
  uint32_t node = 0;
  const XmlNode& top = nodes[0];
  bool topHasRuns = std::any_of(document.runs.begin(), document.runs.end(),
                                [](const XmlNodeRun& run) { return run.node == 0; });
  if (top.childCount == 1 && !topHasRuns) node = top.firstChild;
  if (XmlNamesEqual(nodes[node].name, rootTag)) return node;
  for (uint32_t child = nodes[node].firstChild; child != XML_NO_NODE;) {
    if (XmlNamesEqual(nodes[child].name, rootTag)) return child;
    if (nodes[child].declaration) {
      child = nodes[child].firstChild;
      continue;
    }
    child = nodes[child].nextSibling;
  }
  return XML_NO_NODE;
}

void XmlLineAndColumn(const char* text, size_t index, XmlEncoding encoding, int& line, int& column) {
  const uint8_t* widths = XmlCharacterWidths(encoding);
  line = 1;
  column = 1;
  for (size_t i = 0; i < index; i += widths[uint8_t(text[i])]) {
    if (text[i] == '\n') {
      ++line;
      column = 1;
    } else {
      ++column;
    }
  }
}
