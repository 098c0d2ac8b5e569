#include "files/xml_encoding.h"

#include <strings.h>

#include <algorithm>
#include <array>
#include <cstring>

namespace {

constexpr size_t DETECTION_WINDOW = 200;
constexpr size_t DETECTION_MINIMUM = 25;

XmlEncoding gXmlEncoding = XmlEncoding::Utf8;

using WidthTable = std::array<uint8_t, 256>;

constexpr WidthTable MakeWidths(XmlEncoding encoding) {
  WidthTable widths{};
  for (int c = 0; c < 256; ++c) widths[c] = uint8_t(XmlCharacterWidth(encoding, uint8_t(c)));
  return widths;
}

constexpr WidthTable UTF8_WIDTHS = MakeWidths(XmlEncoding::Utf8);
constexpr WidthTable LEGACY_WIDTHS = MakeWidths(XmlEncoding::Legacy);
constexpr WidthTable SHIFT_JIS_WIDTHS = MakeWidths(XmlEncoding::ShiftJis);

// Lenient: a lead byte announces its length and every byte it announces must be below C0.
bool IsValidUtf8(const unsigned char* bytes, size_t length) {
  for (size_t i = 0; i < length;) {
    if (bytes[i] < 0x80) {
      ++i;
      continue;
    }
    size_t sequence = size_t(XmlCharacterWidth(XmlEncoding::Utf8, bytes[i]));
    for (size_t k = 1; k < sequence && i + k < length; ++k) {
      if (bytes[i + k] >= 0xC0) return false;
    }
    i += sequence;
  }
  return true;
}

bool IsXmlSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

bool StartsWithNoCase(const char* text, const char* prefix) {
  return strncasecmp(text, prefix, std::strlen(prefix)) == 0;
}

// The value of the first encoding="..." in text, or null when there is none.
const char* DeclaredEncoding(const char* text) {
  const char* at = std::strstr(text, "encoding");
  if (!at) return nullptr;
  at += std::strlen("encoding");
  while (IsXmlSpace(*at)) ++at;
  if (*at != '=') return nullptr;
  ++at;
  while (IsXmlSpace(*at)) ++at;
  if (*at != '"' && *at != '\'') return nullptr;
  ++at;
  while (IsXmlSpace(*at)) ++at;
  return at;
}

// Whether bytes look like 16-bit text: a UTF-16 byte-order mark, or zero bytes making up most of
// the bytes at even or at odd positions.
bool LooksLikeUtf16(const unsigned char* bytes, size_t length) {
  if (length >= 2 && ((bytes[0] == 0xFF && bytes[1] == 0xFE) || (bytes[0] == 0xFE && bytes[1] == 0xFF))) return true;
  size_t pairs = length / 2;
  size_t evenZeros = 0, oddZeros = 0;
  for (size_t i = 0; i < pairs; ++i) {
    evenZeros += bytes[2 * i] == 0;
    oddZeros += bytes[2 * i + 1] == 0;
  }
  return pairs > 0 && (evenZeros * 2 > pairs || oddZeros * 2 > pairs);
}

}  // namespace

std::optional<XmlEncoding> DetectXmlEncoding(const char* text, size_t length) {
  if (!text) return std::nullopt;
  size_t window = std::min(length, DETECTION_WINDOW);
  if (window < DETECTION_MINIMUM) return std::nullopt;
  const auto* bytes = reinterpret_cast<const unsigned char*>(text);
  if (LooksLikeUtf16(bytes, window)) return std::nullopt;
  bool valid = IsValidUtf8(bytes, window);
  bool byteOrderMark = bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF;
  XmlEncoding detected = byteOrderMark || valid ? XmlEncoding::Utf8 : XmlEncoding::Legacy;

  char head[DETECTION_WINDOW + 1];  // zero-terminated copy: the search stops at the window
  std::memcpy(head, text, window);
  head[window] = '\0';
  const char* value = DeclaredEncoding(head);
  if (!value) return detected;
  if (StartsWithNoCase(value, "utf-8") || StartsWithNoCase(value, "utf8")) {
    return valid ? std::optional<XmlEncoding>(XmlEncoding::Utf8) : std::nullopt;
  }
  if (StartsWithNoCase(value, "shiftjis") || StartsWithNoCase(value, "shift-jis") || StartsWithNoCase(value, "sjis")) {
    return XmlEncoding::ShiftJis;
  }
  return XmlEncoding::Legacy;
}

XmlEncoding CurrentXmlEncoding() { return gXmlEncoding; }

void SetXmlEncoding(XmlEncoding encoding) { gXmlEncoding = encoding; }

const uint8_t* XmlCharacterWidths(XmlEncoding encoding) {
  switch (encoding) {
    case XmlEncoding::Legacy: return LEGACY_WIDTHS.data();
    case XmlEncoding::ShiftJis: return SHIFT_JIS_WIDTHS.data();
    case XmlEncoding::Utf8: break;
  }
  return UTF8_WIDTHS.data();
}
