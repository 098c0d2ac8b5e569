#pragma once
// The character encoding an XML text is scanned in. It decides how many bytes each character
// takes, so that a delimiter byte inside a multibyte character is not taken for markup. The
// setting is process-wide: every parse sets it afresh from its text, and a text that gives no
// result leaves the previous setting in force. It starts as UTF-8.

#include <cstddef>
#include <cstdint>
#include <optional>

enum class XmlEncoding { Utf8, Legacy, ShiftJis };

// The encoding of text judged from at most its first 200 bytes: a UTF-8 byte-order mark, a
// UTF-8 validity test and an encoding="..." declaration. No result for fewer than 25 bytes and
// for 16-bit text.
std::optional<XmlEncoding> DetectXmlEncoding(const char* text, size_t length);

XmlEncoding CurrentXmlEncoding();
void SetXmlEncoding(XmlEncoding encoding);

// Bytes taken by the character that begins with lead, in encoding (1 to 4).
constexpr int XmlCharacterWidth(XmlEncoding encoding, unsigned char lead) {
  switch (encoding) {
    case XmlEncoding::Utf8:
      if (lead >= 0xF0 && lead <= 0xF7) return 4;
      if (lead >= 0xE0 && lead <= 0xEF) return 3;
      if (lead >= 0xC0 && lead <= 0xDF) return 2;
      return 1;
    case XmlEncoding::ShiftJis: return (lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC) ? 2 : 1;
    case XmlEncoding::Legacy: return 1;
  }
  return 1;
}

// The widths of all 256 lead bytes in encoding.
const uint8_t* XmlCharacterWidths(XmlEncoding encoding);
