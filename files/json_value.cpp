#include "files/json_value.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr double LARGEST_EXACT_INTEGER = 9007199254740992.0;  // 2^53

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

void AppendUtf8(std::string& out, uint32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

void AppendQuoted(std::string& out, const std::string& text) {
  out += '"';
  for (char c : text) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned char>(c));
          out += escaped;
        } else {
          out += c;
        }
    }
  }
  out += '"';
}

}  // namespace

// A recursive descent over the text, refusing anything RFC 8259 does not allow.
class JsonReader {
 public:
  explicit JsonReader(std::string_view text) : mText(text) {}

  bool ReadDocument(JsonValue& value, std::string& error) {
    SkipSpace();
    if (!ReadValue(value, 0)) {
      error = mError + " at byte " + std::to_string(mAt);
      return false;
    }
    SkipSpace();
    if (mAt != mText.size()) {
      error = "text after the value at byte " + std::to_string(mAt);
      return false;
    }
    return true;
  }

 private:
  bool Fail(const char* reason) {
    mError = reason;
    return false;
  }
  bool AtEnd() const { return mAt >= mText.size(); }
  char Peek() const { return AtEnd() ? '\0' : mText[mAt]; }
  void SkipSpace() {
    while (!AtEnd() && IsSpace(mText[mAt])) ++mAt;
  }
  bool Literal(std::string_view word) {
    if (mText.substr(mAt, word.size()) != word) return Fail("unknown word");
    mAt += word.size();
    return true;
  }

  bool ReadValue(JsonValue& value, int depth) {
    if (depth > JSON_MAX_DEPTH) return Fail("nested too deeply");
    switch (Peek()) {
      case '{': return ReadObject(value, depth);
      case '[': return ReadArray(value, depth);
      case '"':
        value = JsonValue(std::string());
        return ReadString(value.mString);
      case 't':
        value = JsonValue(true);
        return Literal("true");
      case 'f':
        value = JsonValue(false);
        return Literal("false");
      case 'n':
        value = JsonValue();
        return Literal("null");
      default: return ReadNumber(value);
    }
  }

  bool ReadObject(JsonValue& value, int depth) {
    value = JsonValue::Object();
    ++mAt;
    SkipSpace();
    if (Peek() == '}') {
      ++mAt;
      return true;
    }
    for (;;) {
      SkipSpace();
      std::string key;
      if (Peek() != '"') return Fail("a member name must be a string");
      if (!ReadString(key)) return false;
      SkipSpace();
      if (Peek() != ':') return Fail("':' expected");
      ++mAt;
      SkipSpace();
      JsonValue member;
      if (!ReadValue(member, depth + 1)) return false;
      value.mMembers.emplace_back(std::move(key), std::move(member));
      SkipSpace();
      if (Peek() == ',') {
        ++mAt;
        continue;
      }
      if (Peek() == '}') {
        ++mAt;
        return true;
      }
      return Fail("',' or '}' expected");
    }
  }

  bool ReadArray(JsonValue& value, int depth) {
    value = JsonValue::Array();
    ++mAt;
    SkipSpace();
    if (Peek() == ']') {
      ++mAt;
      return true;
    }
    for (;;) {
      SkipSpace();
      JsonValue item;
      if (!ReadValue(item, depth + 1)) return false;
      value.mItems.push_back(std::move(item));
      SkipSpace();
      if (Peek() == ',') {
        ++mAt;
        continue;
      }
      if (Peek() == ']') {
        ++mAt;
        return true;
      }
      return Fail("',' or ']' expected");
    }
  }

  bool ReadHex4(uint32_t& code) {
    if (mAt + 4 > mText.size()) return Fail("short \\u escape");
    code = 0;
    for (int i = 0; i < 4; ++i) {
      int digit = HexDigit(mText[mAt + i]);
      if (digit < 0) return Fail("bad \\u escape");
      code = code * 16 + static_cast<uint32_t>(digit);
    }
    mAt += 4;
    return true;
  }

  bool ReadEscape(std::string& out) {
    char c = Peek();
    ++mAt;
    switch (c) {
      case '"': out += '"'; return true;
      case '\\': out += '\\'; return true;
      case '/': out += '/'; return true;
      case 'b': out += '\b'; return true;
      case 'f': out += '\f'; return true;
      case 'n': out += '\n'; return true;
      case 'r': out += '\r'; return true;
      case 't': out += '\t'; return true;
      case 'u': break;
      default: return Fail("bad escape");
    }
    uint32_t code = 0;
    if (!ReadHex4(code)) return false;
    if (code >= 0xDC00 && code <= 0xDFFF) return Fail("lone low surrogate");
    if (code >= 0xD800 && code <= 0xDBFF) {
      uint32_t low = 0;
      if (mText.substr(mAt, 2) != "\\u") return Fail("lone high surrogate");
      mAt += 2;
      if (!ReadHex4(low)) return false;
      if (low < 0xDC00 || low > 0xDFFF) return Fail("lone high surrogate");
      code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
    }
    AppendUtf8(out, code);
    return true;
  }

  bool ReadString(std::string& out) {
    ++mAt;
    for (;;) {
      if (AtEnd()) return Fail("unterminated string");
      char c = mText[mAt];
      if (c == '"') {
        ++mAt;
        return true;
      }
      if (static_cast<unsigned char>(c) < 0x20) return Fail("control character in a string");
      ++mAt;
      if (c != '\\') {
        out += c;
      } else if (AtEnd() || !ReadEscape(out)) {
        return mError.empty() ? Fail("unterminated string") : false;
      }
    }
  }

  bool ReadNumber(JsonValue& value) {
    size_t start = mAt;
    if (Peek() == '-') ++mAt;
    if (Peek() == '0') {
      ++mAt;
    } else if (IsDigit(Peek())) {
      while (IsDigit(Peek())) ++mAt;
    } else {
      return Fail("a value expected");
    }
    if (Peek() == '.') {
      ++mAt;
      if (!IsDigit(Peek())) return Fail("digits expected after '.'");
      while (IsDigit(Peek())) ++mAt;
    }
    if (Peek() == 'e' || Peek() == 'E') {
      ++mAt;
      if (Peek() == '+' || Peek() == '-') ++mAt;
      if (!IsDigit(Peek())) return Fail("digits expected in the exponent");
      while (IsDigit(Peek())) ++mAt;
    }
    std::string number(mText.substr(start, mAt - start));
    value = JsonValue(std::strtod(number.c_str(), nullptr));
    return true;
  }

  std::string_view mText;
  size_t mAt = 0;
  std::string mError;
};

bool JsonValue::Parse(std::string_view text, JsonValue& value, std::string& error) {
  JsonValue parsed;
  if (!JsonReader(text).ReadDocument(parsed, error)) return false;
  value = std::move(parsed);
  return true;
}

std::string JsonValue::Serialize() const {
  std::string out;
  SerializeTo(out);
  return out;
}

void JsonValue::SerializeTo(std::string& out) const {
  switch (mKind) {
    case Kind::Null: out += "null"; break;
    case Kind::Bool: out += mBool ? "true" : "false"; break;
    case Kind::Number: {
      if (!std::isfinite(mNumber)) {
        out += "null";
        break;
      }
      char text[32];
      if (mNumber == std::floor(mNumber) && std::fabs(mNumber) < LARGEST_EXACT_INTEGER) {
        std::snprintf(text, sizeof text, "%.0f", mNumber);
      } else {
        std::snprintf(text, sizeof text, "%.17g", mNumber);
      }
      out += text;
      break;
    }
    case Kind::String: AppendQuoted(out, mString); break;
    case Kind::Array:
      out += '[';
      for (size_t i = 0; i < mItems.size(); ++i) {
        if (i) out += ',';
        mItems[i].SerializeTo(out);
      }
      out += ']';
      break;
    case Kind::Object:
      out += '{';
      for (size_t i = 0; i < mMembers.size(); ++i) {
        if (i) out += ',';
        AppendQuoted(out, mMembers[i].first);
        out += ':';
        mMembers[i].second.SerializeTo(out);
      }
      out += '}';
      break;
  }
}

const JsonValue* JsonValue::Find(std::string_view key) const {
  for (auto member = mMembers.rbegin(); member != mMembers.rend(); ++member) {
    if (member->first == key) return &member->second;
  }
  return nullptr;
}

JsonValue& JsonValue::Set(std::string key, JsonValue value) {
  for (auto& member : mMembers) {
    if (member.first == key) {
      member.second = std::move(value);
      return *this;
    }
  }
  mMembers.emplace_back(std::move(key), std::move(value));
  return *this;
}

JsonValue& JsonValue::Append(JsonValue value) {
  mItems.push_back(std::move(value));
  return *this;
}
