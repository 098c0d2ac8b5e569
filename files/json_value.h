#pragma once
// A JSON value (RFC 8259): read from text, built in code, written back as one line. Pure: bytes in,
// a value out. Used for the developer mode's control channel, one object per line.

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// How deep arrays and objects may nest before a text is refused.
inline constexpr int JSON_MAX_DEPTH = 64;

class JsonValue {
 public:
  enum class Kind { Null, Bool, Number, String, Array, Object };

  JsonValue() = default;
  JsonValue(bool value) : mKind(Kind::Bool), mBool(value) {}
  JsonValue(double value) : mKind(Kind::Number), mNumber(value) {}
  JsonValue(int value) : JsonValue(static_cast<double>(value)) {}
  JsonValue(int64_t value) : JsonValue(static_cast<double>(value)) {}
  JsonValue(uint32_t value) : JsonValue(static_cast<double>(value)) {}
  JsonValue(std::string value) : mKind(Kind::String), mString(std::move(value)) {}
  JsonValue(const char* value) : JsonValue(std::string(value)) {}
  static JsonValue Array() { return JsonValue(Kind::Array); }
  static JsonValue Object() { return JsonValue(Kind::Object); }

  // The whole of text as one value (surrounding white space allowed); false with the reason and
  // the byte offset in error.
  static bool Parse(std::string_view text, JsonValue& value, std::string& error);
  // One line of JSON: no white space, strings escaped, object members in insertion order;
  // integral numbers without a fraction, and numbers JSON cannot hold as null.
  std::string Serialize() const;

  Kind GetKind() const { return mKind; }
  bool IsNull() const { return mKind == Kind::Null; }
  bool IsBool() const { return mKind == Kind::Bool; }
  bool IsNumber() const { return mKind == Kind::Number; }
  bool IsString() const { return mKind == Kind::String; }
  bool IsArray() const { return mKind == Kind::Array; }
  bool IsObject() const { return mKind == Kind::Object; }
  bool Bool() const { return mBool; }
  double Number() const { return mNumber; }
  const std::string& String() const { return mString; }
  const std::vector<JsonValue>& Items() const { return mItems; }
  const std::vector<std::pair<std::string, JsonValue>>& Members() const { return mMembers; }

  // The member named key of an object (the last one when a text repeats it), or null.
  const JsonValue* Find(std::string_view key) const;
  // Sets a member of an object (replacing one of the same name); returns *this for chaining.
  JsonValue& Set(std::string key, JsonValue value);
  // Appends to an array; returns *this.
  JsonValue& Append(JsonValue value);

 private:
  explicit JsonValue(Kind kind) : mKind(kind) {}
  void SerializeTo(std::string& out) const;
  friend class JsonReader;

  Kind mKind = Kind::Null;
  bool mBool = false;
  double mNumber = 0.0;
  std::string mString;
  std::vector<JsonValue> mItems;
  std::vector<std::pair<std::string, JsonValue>> mMembers;
};
