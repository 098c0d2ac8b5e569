// The strict scene animation reader over small texts, one mistake each: the finding's severity,
// line and words. The checker test runs the whole tool on the starter; this covers the grammar's
// corners the starter does not reach.
#include <string>

#include <gtest/gtest.h>

#include "tools/check/tdf_check.h"

namespace {

// A model slot 0 of two objects, and a camera, keyed once.
const char MODEL_TABLE[] = "MQO {\n  0 \"data\\model\\gem.mqo\"\n}\n";
const char CAMERA[] = "  Object -1 {\n    DataNum 1\n    Time { 0 }\n    Part \"camera_pos\" {\n      Position { 0 0 -5 }\n    }\n  }\n";

std::string SceneWith(const std::string& objects) {
  return std::string(MODEL_TABLE) + "Scene \"s\" {\n" + CAMERA + objects + "}\nEof\n";
}

struct Case {
  const char* name;
  std::string text;
  FindingSeverity severity;
  int line;
  const char* mentions;
};

ProductionFindings Check(const std::string& text) {
  ModelData model;
  model.objects.resize(2);
  model.objects[0].name = "gem";
  model.objects[1].name = "moon";
  ProductionFindings findings;
  CheckSceneAnimation(text, "a.tdf", [&](const std::string& path) { return path == "data\\model\\gem.mqo" ? &model : nullptr; },
                      findings);
  return findings;
}

TEST(TdfCheckTest, AWellFormedFileHasNoFindings) {
  ProductionFindings findings = Check(SceneWith(
      "  Object 0 {\n    CameraTrans 1\n    Visible 1\n    DataNum 2\n    Time { 0 1 }\n"
      "    Part \"gem\" {\n      Position { 0 0 0  1 1 1 }\n      Rotation { 0 0 0  0 1 0 }\n"
      "      Scale { 1 1 1  2 2 2 }\n      Alpha { 1 0.5 }\n    }\n  }\n"));
  for (const ProductionFinding& finding : findings.All()) ADD_FAILURE() << FormatFinding(finding);
}

TEST(TdfCheckTest, EachMistakeIsFoundOnItsLine) {
  const std::string gem = "    Part \"gem\" {\n      Position { 0 0 0 }\n    }\n";
  const Case cases[] = {
      {"a header word that starts a block", "TScene Demo File\nFormat Text Ver 1.0\nby the MQO team\n" + SceneWith(""),
       FindingSeverity::Error, 3, "the header's word \"MQO\""},
      {"a # glued to its entry", "MQO {\n  #1 \"data\\model\\old.mqo\"\n}\n", FindingSeverity::Warning, 2, "write \"#\" apart"},
      {"a slot past 255", "MQO {\n  300 \"data\\model\\gem.mqo\"\n}\n", FindingSeverity::Error, 2, "slot \"300\""},
      {"a slot twice", "MQO {\n  0 \"data\\model\\a.mqo\"\n  0 \"data\\model\\b.mqo\"\n}\n", FindingSeverity::Warning, 3,
       "slot 0 again (first on line 2)"},
      {"a path without quotes", "MQO {\n  0 data\\model\\gem.mqo\n}\n", FindingSeverity::Error, 2, "not written in double quotes"},
      {"a model by its cache", "MQO {\n  0 \"data\\model\\gem.bmdl\"\n}\n", FindingSeverity::Warning, 2, "\".mqo\" path"},
      {"a brace glued to a number", SceneWith("  Object 0 {\n    DataNum 1\n    Time {0 }\n" + gem + "  }\n"),
       FindingSeverity::Error, 14, "needs \"{\" here, not \"{0\""},
      {"blocks out of order", SceneWith("  Object 0 {\n    Visible 1\n    CameraTrans 1\n    DataNum 1\n    Time { 0 }\n" + gem + "  }\n"),
       FindingSeverity::Error, 14, "\"CameraTrans\" after \"Visible\""},
      {"key blocks out of order",
       SceneWith("  Object 0 {\n    DataNum 1\n    Time { 0 }\n    Part \"gem\" {\n      Scale { 1 1 1 }\n"
                 "      Rotation { 0 0 0 }\n    }\n  }\n"),
       FindingSeverity::Error, 17, "\"Rotation\" after \"Scale\""},
      {"a part twice", SceneWith("  Object 0 {\n    DataNum 1\n    Time { 0 }\n" + gem + gem + "  }\n"), FindingSeverity::Warning,
       18, "part \"gem\" of Object 0 again"},
      {"a word that is no number", SceneWith("  Object 0 {\n    DataNum 1\n    Time { 0 }\n    Part \"gem\" {\n      Position { 0 1,5 0 }\n    }\n  }\n"),
       FindingSeverity::Error, 16, "\"1,5\""},
      {"no DataNum at all", std::string(MODEL_TABLE) + "Scene \"s\" {\n  Object -1 {\n    Time { 0 }\n    Part \"camera_pos\" {\n    }\n  }\n}\n",
       FindingSeverity::Error, 5, "has no DataNum"},
      {"a DataNum carried over", SceneWith("  Object 0 {\n    Time { 0 }\n" + gem + "  }\n"), FindingSeverity::Warning, 12,
       "the previous object's count, 1"},
      {"no Time", SceneWith("  Object 0 {\n    DataNum 1\n" + gem + "  }\n"), FindingSeverity::Error, 12, "has no Time block"},
      {"no Part", SceneWith("  Object 0 {\n    DataNum 1\n    Time { 0 }\n  }\n"), FindingSeverity::Error, 12, "has no Part block"},
      {"a first key after 0", SceneWith("  Object 0 {\n    DataNum 1\n    Time { 0.5 }\n" + gem + "  }\n"), FindingSeverity::Warning,
       14, "the first key time of Object 0 is 0.5"},
      {"the camera not first", std::string(MODEL_TABLE) + "Scene \"s\" {\n  Object 0 {\n    DataNum 1\n    Time { 0 }\n" + gem +
                                   "  }\n" + CAMERA + "}\n",
       FindingSeverity::Warning, 4, "does not begin with its camera"},
      {"a scene without objects", "Scene \"empty\" {\n}\n", FindingSeverity::Warning, 1, "has no objects"},
      {"a scene name without quotes", "Scene empty {\n}\n", FindingSeverity::Error, 1, "scene name \"empty\""},
      {"a stray brace", "}\n" + SceneWith(""), FindingSeverity::Error, 1, "closes no block"},
      {"an unknown top-level word", "Sence \"s\" {\n}\n", FindingSeverity::Error, 1, "unknown block \"Sence\""},
      {"Eof inside a scene", std::string(MODEL_TABLE) + "Scene \"s\" {\n" + CAMERA + "Eof\n", FindingSeverity::Error, 4,
       "scene \"s\" is never closed"},
      {"words after Eof", SceneWith("") + "Scene \"late\" {\n}\n", FindingSeverity::Warning, 14, "\"Scene\" and what follows are ignored"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ProductionFindings findings = Check(c.text);
    bool found = false;
    std::string all;
    for (const ProductionFinding& finding : findings.All()) {
      all += FormatFinding(finding) + "\n";
      found = found || (finding.severity == c.severity && finding.line == c.line &&
                        finding.message.find(c.mentions) != std::string::npos);
    }
    EXPECT_TRUE(found) << "expected line " << c.line << ": " << c.mentions << "\nin:\n" << all << "of:\n" << c.text;
  }
}

}  // namespace
