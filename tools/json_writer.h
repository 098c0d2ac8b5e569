#pragma once
// A small streaming JSON writer for the tools' output. Commas and escaping are handled here;
// callers only open, fill and close.

#include <cstdint>
#include <string>

class JsonWriter {
 public:
  JsonWriter& BeginObject();
  JsonWriter& EndObject();
  JsonWriter& BeginArray();
  JsonWriter& EndArray();
  // The key of the next value inside an object.
  JsonWriter& Key(const std::string& key);
  JsonWriter& String(const std::string& value);
  JsonWriter& Number(double value);
  JsonWriter& Integer(int64_t value);
  JsonWriter& Bool(bool value);
  JsonWriter& Null();

  const std::string& Text() const { return mText; }

 private:
  void BeforeValue();

  std::string mText;
  bool mNeedComma = false;
};

// value as a JSON string literal, quotes included; bytes that are not valid UTF-8 become \u00XX.
std::string JsonQuote(const std::string& value);

// values (any range of numbers) as one JSON array.
template <class Values>
JsonWriter& WriteNumberArray(JsonWriter& json, const Values& values) {
  json.BeginArray();
  for (auto value : values) json.Number(static_cast<double>(value));
  return json.EndArray();
}
