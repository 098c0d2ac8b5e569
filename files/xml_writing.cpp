#include "files/xml_writing.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

bool IsUtf8(const std::string& text) {
  for (size_t i = 0; i < text.size();) {
    const unsigned char lead = static_cast<unsigned char>(text[i]);
    const size_t length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
    if (length == 0 || i + length > text.size()) return false;
    for (size_t k = 1; k < length; ++k) {
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    }
    i += length;
  }
  return true;
}

bool IsNameStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == ':'; }

}  // namespace

bool IsXmlName(const char* name) {
  if (!name || !IsNameStart(*name)) return false;
  for (const char* c = name + 1; *c; ++c) {
    if (!IsNameStart(*c) && !(*c >= '0' && *c <= '9') && *c != '-' && *c != '.') return false;
  }
  return true;
}

std::string XmlEscaped(const std::string& text) {
  const bool utf8 = IsUtf8(text);
  std::string out;
  for (char c : text) {
    if (!utf8 && static_cast<unsigned char>(c) >= 0x80) {
      char entity[8];
      std::snprintf(entity, sizeof entity, "&#x%02X;", static_cast<unsigned char>(c));
      out += entity;
      continue;
    }
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

std::string XmlAttributeText(const char* name, const std::string& value) {
  return std::string(" ") + name + "=\"" + XmlEscaped(value) + "\"";
}

namespace {

// Whole numbers are written without an exponent ("120", not "1.2e+02"), the rest in the fewest
// significant digits that read back as value.
template <typename Number>
std::string ShortestText(Number value, int maxDigits, Number (*read)(const char*, char**)) {
  char text[48];
  if (value == std::trunc(value) && std::fabs(value) < 1e15) {
    std::snprintf(text, sizeof text, "%.0f", static_cast<double>(value));
    return text;
  }
  for (int digits = 1; digits <= maxDigits; ++digits) {
    std::snprintf(text, sizeof text, "%.*g", digits, static_cast<double>(value));
    if (read(text, nullptr) == value) break;
  }
  return text;
}

}  // namespace

std::string ShortestFloatText(float value) { return ShortestText<float>(value, 9, std::strtof); }

std::string ShortestDoubleText(double value) { return ShortestText<double>(value, 17, std::strtod); }

std::string XmlElementText(const XmlElement& element, int indent) {
  const std::string pad(static_cast<size_t>(indent) * 2, ' ');
  std::string xml = pad + "<" + element.Name();
  for (int i = 0; i < element.AttributeCount(); ++i) {
    if (!IsXmlName(element.AttributeName(i))) continue;
    const char* value = element.AttributeValue(i);
    xml += value ? XmlAttributeText(element.AttributeName(i), value) : std::string(" ") + element.AttributeName(i);
  }
  std::string text;
  for (const XmlRun& run : element.Runs()) {
    if (!run.clear) text += std::string(run.text);
  }
  const bool blank = text.find_first_not_of(" \t\r\n") == std::string::npos;
  if (element.ElementCount() == 0 && blank) return xml + "/>\n";
  if (element.ElementCount() == 0) return xml + ">" + XmlEscaped(text) + "</" + element.Name() + ">\n";
  xml += ">\n";
  for (int i = 0; i < element.ElementCount(); ++i) {
    if (IsXmlName(element.Element(i).Name())) xml += XmlElementText(element.Element(i), indent + 1);
  }
  return xml + pad + "</" + element.Name() + ">\n";
}
