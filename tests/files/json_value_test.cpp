// JSON values: what a control line may hold is read exactly, anything else is refused with a
// reason, and what the engine writes reads back as the same value.
#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "files/json_value.h"

namespace {

TEST(JsonValue, ReadsEveryKindOfValue) {
  JsonValue value;
  std::string error;
  ASSERT_TRUE(JsonValue::Parse(
      " {\"cmd\" : \"seek\", \"ms\": 1500, \"f\": -2.5e-1, \"on\": true, \"off\": false, \"n\": null,"
      " \"list\": [1, [2], {}], \"text\": \"a\\\"b\\\\c\\/d\\n\\u00e9\\ud83d\\ude00\"}\n",
      value, error))
      << error;
  ASSERT_TRUE(value.IsObject());
  EXPECT_EQ(value.Find("cmd")->String(), "seek");
  EXPECT_EQ(value.Find("ms")->Number(), 1500.0);
  EXPECT_EQ(value.Find("f")->Number(), -0.25);
  EXPECT_TRUE(value.Find("on")->Bool());
  EXPECT_FALSE(value.Find("off")->Bool());
  EXPECT_TRUE(value.Find("n")->IsNull());
  ASSERT_EQ(value.Find("list")->Items().size(), 3u);
  EXPECT_EQ(value.Find("list")->Items()[1].Items()[0].Number(), 2.0);
  EXPECT_TRUE(value.Find("list")->Items()[2].IsObject());
  EXPECT_EQ(value.Find("text")->String(), "a\"b\\c/d\n\xC3\xA9\xF0\x9F\x98\x80");
  EXPECT_EQ(value.Find("missing"), nullptr);
}

TEST(JsonValue, RefusesWhatTheGrammarDoesNotAllow) {
  const std::vector<std::string> broken = {
      "",          "{",           "{\"a\":}",    "{\"a\" 1}",   "{a:1}",        "[1,]",       "[1 2]",
      "01",        "1.",          ".5",          "1e",          "-",            "+1",         "tru",
      "nul",       "\"open",      "\"\\x\"",     "\"\\u12\"",   "\"\\ud800\"",  "\"\\udc00\"", "\"a\nb\"",
      "{} {}",     "{\"a\":1,}",  "NaN",         "Infinity",    "'single'",
  };
  for (const std::string& text : broken) {
    JsonValue value;
    std::string error;
    EXPECT_FALSE(JsonValue::Parse(text, value, error)) << text;
    EXPECT_NE(error.find("at byte"), std::string::npos) << text << ": " << error;
  }
}

TEST(JsonValue, RefusesNestingBeyondTheLimitWithoutRunningOutOfStack) {
  JsonValue value;
  std::string error;
  std::string deep(JSON_MAX_DEPTH + 1, '[');
  deep += std::string(JSON_MAX_DEPTH + 1, ']');
  EXPECT_TRUE(JsonValue::Parse(deep, value, error)) << error;
  std::string deeper = "[" + deep + "]";
  EXPECT_FALSE(JsonValue::Parse(deeper, value, error));
  EXPECT_FALSE(JsonValue::Parse(std::string(100000, '['), value, error));
}

TEST(JsonValue, WritesOneLineThatReadsBackTheSame) {
  JsonValue value = JsonValue::Object();
  value.Set("ok", true).Set("time", uint32_t{4294967295u}).Set("rate", 0.5).Set("neg", -3);
  value.Set("text", "quote\" back\\ tab\t nl\n bell\x07 \xC3\xA9");
  value.Set("list", JsonValue::Array().Append(1).Append(JsonValue()).Append("x"));
  value.Set("ok", false);
  std::string line = value.Serialize();
  EXPECT_EQ(line,
            "{\"ok\":false,\"time\":4294967295,\"rate\":0.5,\"neg\":-3,"
            "\"text\":\"quote\\\" back\\\\ tab\\t nl\\n bell\\u0007 \xC3\xA9\",\"list\":[1,null,\"x\"]}");
  JsonValue back;
  std::string error;
  ASSERT_TRUE(JsonValue::Parse(line, back, error)) << error;
  EXPECT_EQ(back.Serialize(), line);
  EXPECT_EQ(JsonValue(1.0 / 3.0).Serialize(), "0.33333333333333331");
  EXPECT_EQ(JsonValue(std::nan("")).Serialize(), "null");
}

TEST(JsonValue, TheLastOfRepeatedMembersCounts) {
  JsonValue value;
  std::string error;
  ASSERT_TRUE(JsonValue::Parse("{\"ms\":1,\"ms\":2}", value, error));
  EXPECT_EQ(value.Find("ms")->Number(), 2.0);
}

}  // namespace
