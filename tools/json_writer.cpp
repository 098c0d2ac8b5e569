#include "tools/json_writer.h"

#include <cmath>
#include <cstdio>

namespace {

// Length of the valid UTF-8 sequence at text[i], or 0 if it is not one.
size_t Utf8SequenceLength(const std::string& text, size_t i) {
  auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
  unsigned char lead = byte(i);
  size_t length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
  if (length == 0 || i + length > text.size()) return 0;
  for (size_t k = 1; k < length; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return 0;
  }
  return length;
}

}  // namespace

std::string JsonQuote(const std::string& value) {
  std::string out = "\"";
  for (size_t i = 0; i < value.size();) {
    unsigned char c = static_cast<unsigned char>(value[i]);
    size_t length = Utf8SequenceLength(value, i);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\t') {
      out += "\\t";
    } else if (c < 0x20 || length == 0) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
      out += escaped;
      length = 1;
    } else {
      out.append(value, i, length);
    }
    i += length == 0 ? 1 : length;
  }
  return out + "\"";
}

void JsonWriter::BeforeValue() {
  if (mNeedComma) mText += ',';
  mNeedComma = true;
}

JsonWriter& JsonWriter::BeginObject() {
  BeforeValue();
  mText += '{';
  mNeedComma = false;
  return *this;
}

JsonWriter& JsonWriter::EndObject() {
  mText += '}';
  mNeedComma = true;
  return *this;
}

JsonWriter& JsonWriter::BeginArray() {
  BeforeValue();
  mText += '[';
  mNeedComma = false;
  return *this;
}

JsonWriter& JsonWriter::EndArray() {
  mText += ']';
  mNeedComma = true;
  return *this;
}

JsonWriter& JsonWriter::Key(const std::string& key) {
  BeforeValue();
  mText += JsonQuote(key);
  mText += ':';
  mNeedComma = false;
  return *this;
}

JsonWriter& JsonWriter::String(const std::string& value) {
  BeforeValue();
  mText += JsonQuote(value);
  return *this;
}

JsonWriter& JsonWriter::Number(double value) {
  BeforeValue();
  if (!std::isfinite(value)) {
    mText += "null";
    return *this;
  }
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.9g", value);
  mText += buffer;
  return *this;
}

JsonWriter& JsonWriter::Integer(int64_t value) {
  BeforeValue();
  mText += std::to_string(value);
  return *this;
}

JsonWriter& JsonWriter::Bool(bool value) {
  BeforeValue();
  mText += value ? "true" : "false";
  return *this;
}

JsonWriter& JsonWriter::Null() {
  BeforeValue();
  mText += "null";
  return *this;
}
