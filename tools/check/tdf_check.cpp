#include "tools/check/tdf_check.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <set>
#include <vector>

#include "files/tdf_object.h"
#include "files/tdf_tokens.h"

namespace {

struct Token {
  std::string text;
  int line = 0;
  bool end = false;
  size_t findingsAtOpen = 0;  // of a "{": how many findings there were when it was read
};

// Key blocks of a part in the order the player reads them, and how many numbers make one key.
struct KeyBlock {
  const char* name;
  int width;
};
constexpr KeyBlock KEY_BLOCKS[] = {{"Position", 3}, {"Rotation", 3}, {"Scale", 3}, {"Alpha", 1}};
// Blocks of an object in the order the player reads them.
constexpr const char* OBJECT_BLOCKS[] = {"CameraTrans", "Visible", "DataNum", "Time", "Part"};
constexpr int PART_STAGE = 4;
constexpr int MAX_MODEL_SLOT = 255;

bool IsWholeNumber(const std::string& text, long& value) {
  if (text.empty()) return false;
  char* end = nullptr;
  value = std::strtol(text.c_str(), &end, 10);
  return *end == '\0';
}

bool IsNumber(const std::string& text, float& value) {
  if (text.empty()) return false;
  char* end = nullptr;
  value = std::strtof(text.c_str(), &end);
  return *end == '\0';
}

bool IsQuoted(const std::string& token) { return token.size() >= 2 && token.front() == '"' && token.back() == '"'; }

// A token quoted for a message, once: a name written in quotes keeps its own.
std::string QuotedToken(const std::string& token) { return IsQuoted(token) ? token : Quoted(token); }

constexpr size_t BLANK_LINE = SIZE_MAX;

// The name as the player takes it from a quoted token.
std::string QuotedName(const std::string& token) {
  if (token.empty()) return std::string();
  std::string name = token.substr(1);
  if (!name.empty() && name.back() == '"') name.pop_back();
  return name;
}

template <typename List>
int IndexOf(const List& names, const std::string& name) {
  for (size_t i = 0; i < std::size(names); ++i) {
    if (name == names[i]) return static_cast<int>(i);
  }
  return -1;
}

int KeyBlockIndex(const std::string& name) {
  for (size_t i = 0; i < std::size(KEY_BLOCKS); ++i) {
    if (name == KEY_BLOCKS[i].name) return static_cast<int>(i);
  }
  return -1;
}

bool IsKeyword(const std::string& token) {
  return token == "MQO" || token == "Scene" || token == "Eof" || token == "Object" ||
         IndexOf(OBJECT_BLOCKS, token) >= 0 || KeyBlockIndex(token) >= 0;
}

std::string Plural(size_t count, const char* one, const char* many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

class TdfChecker {
 public:
  TdfChecker(const std::string& text, const std::string& file, const TdfModelLookup& models, ProductionFindings& findings)
      : mTokens(text), mFile(file), mModels(models), mFindings(findings), mHeader(text.rfind("TScene", 0) == 0) {
    for (size_t start = 0; start <= text.size();) {
      const size_t end = std::min(text.find('\n', start), text.size());
      size_t indent = 0;
      while (start + indent < end && (text[start + indent] == ' ' || text[start + indent] == '\t' || text[start + indent] == '\r')) ++indent;
      mIndents.push_back(start + indent == end ? BLANK_LINE : indent);
      start = end + 1;
    }
  }

  void Check() {
    for (Token token = Next(); !token.end; token = Next()) {
      if (token.text == "Eof") {
        CheckAfterEof();
        return;
      }
      if ((token.text == "MQO" || token.text == "Scene") && InHeader(token)) {
        Error(token.line, "the header's word " + Quoted(token.text) +
                              " starts a block for the player; keep MQO, Scene and Eof out of the three header lines");
      }
      if (token.text == "MQO") {
        CheckModelTable();
      } else if (token.text == "Scene") {
        CheckScene(token);
      } else if (!InHeader(token)) {
        UnknownBlock(token, "at the top level (blocks are MQO, Scene and Eof)");
      }
    }
  }

 private:
  Token Next() {
    if (mPeeked) {
      Token token = std::move(*mPeeked);
      mPeeked.reset();
      return token;
    }
    Token token;
    if (mStopped) {
      token.end = true;
      return token;
    }
    token.text = mTokens.ReadToken();
    token.line = mTokens.Line();
    token.end = token.text.empty() && mTokens.AtEnd();
    return token;
  }
  const Token& Peek() {
    if (!mPeeked) mPeeked = Next();
    return *mPeeked;
  }

  void Error(int line, const std::string& message) { mFindings.Error(mFile, line, message); }
  void Warning(int line, const std::string& message) { mFindings.Warning(mFile, line, message); }

  bool InHeader(const Token& token) const { return mHeader && token.line <= 3; }

  void CheckAfterEof() {
    Token after = Next();
    if (!after.end) Warning(after.line, "the player stops reading at \"Eof\"; " + Quoted(after.text) + " and what follows are ignored");
  }

  // A word where no block may start. A block that follows it is skipped whole.
  void UnknownBlock(const Token& token, const std::string& where) {
    if (token.text == "}") {
      Error(token.line, "this \"}\" closes no block");
      return;
    }
    if (token.text == "{") {
      Error(token.line, "this \"{\" opens no block");
      SkipBlockAfterOpen(Opening(token));
      return;
    }
    Error(token.line, "unknown block " + QuotedToken(token.text) + " " + where);
    if (Peek().text == "{") SkipBlockAfterOpen(Opening(Next()));
  }

  // Skips to the "}" that closes open (already read), reporting a block that never closes.
  void SkipBlockAfterOpen(const Token& open) {
    int depth = 1;
    for (Token token = Next(); !EndsText(token); token = Next()) {
      if (token.text == "{") ++depth;
      if (token.text == "}" && --depth == 0) return Closed(open, token);
    }
    NeverClosed(open, "this block");
  }

  // A block that the end of the text (or an "Eof" inside it) leaves open. Blocks within it were
  // closed, but one of them, most likely the first whose "}" is indented otherwise than its "{",
  // took the "}" of the block around it: that is the cause, reported first, and everything found
  // since its "{" follows from it.
  void NeverClosed(const Token& open, const std::string& what) {
    Error(open.line, what + " is never closed: its \"{\" has no matching \"}\"");
    if (mMisclosed.first > 0) {
      const size_t cause = mFindings.Size();
      Error(mMisclosed.first, MissingCloseMessage());
      mFindings.MarkCause(cause, mMisclosedFindings);
      mMisclosed = {};
    }
    mStopped = true;
  }

  std::string MissingCloseMessage() const {
    const int before = NextLineIndentedAsOrLess(mMisclosed.first);
    return "a \"}\" is missing, it seems: this line's \"{\" is closed by the \"}\" on line " +
           std::to_string(mMisclosed.second) + ", which is indented otherwise" +
           (before > 0 && before < mMisclosed.second
                ? "; it belongs before line " + std::to_string(before) + ", the next line indented as this one"
                : std::string());
  }

  // The first line after line that is not blank and not indented deeper; 0 when there is none.
  int NextLineIndentedAsOrLess(int line) const {
    for (size_t next = size_t(line); next < mIndents.size(); ++next) {
      if (mIndents[next] != BLANK_LINE && mIndents[next] <= Indent(line)) return static_cast<int>(next) + 1;
    }
    return 0;
  }

  // Notes the first block whose braces are on lines indented differently.
  void Closed(const Token& open, const Token& close) {
    if (mMisclosed.first > 0 || open.line == close.line) return;
    if (Indent(open.line) != Indent(close.line)) {
      mMisclosed = {open.line, close.line};
      mMisclosedFindings = open.findingsAtOpen;
    }
  }

  Token Opening(Token open) const {
    open.findingsAtOpen = mFindings.Size();
    return open;
  }

  size_t Indent(int line) const { return line > 0 && size_t(line) <= mIndents.size() ? mIndents[line - 1] : 0; }

  // "Eof" inside a block ends the text for the check, as it is meant to.
  static bool EndsText(const Token& token) { return token.end || token.text == "Eof"; }

  // Reads the "{" a block needs; false (with an error) when something else stands there.
  bool ExpectOpen(const std::string& what) {
    const Token& token = Peek();
    if (token.text == "{") {
      mOpen = Opening(Next());
      return true;
    }
    Error(token.line, what + " needs \"{\" here, not " + (token.end ? std::string("the end of the file") : Quoted(token.text)) +
                          " (write braces apart from what they touch)");
    return false;
  }

  // --- MQO { N "path" ... } ---

  void CheckModelTable() {
    if (!ExpectOpen("the MQO block")) return;
    const Token open = mOpen;
    for (;;) {
      Token word = Next();
      if (EndsText(word)) return NeverClosed(open, "the MQO block");
      if (word.text == "}") return Closed(open, word);
      if (word.text == "#") {
        // "# N "path"" disables an entry: the player drops the number and the path.
        Next();
        Next();
        continue;
      }
      if (word.text.find('#') != std::string::npos && !std::isdigit(static_cast<unsigned char>(word.text[0]))) {
        Warning(word.line, "write \"#\" apart from the entry it disables: # 2 \"data\\model\\ship.mqo\"");
        SkipDisabledEntry();
        continue;
      }
      CheckModelEntry(word);
    }
  }

  // The player's rule for a "#" glued to a word: words are dropped up to the next slot number.
  void SkipDisabledEntry() {
    while (!Peek().end && Peek().text != "}" && !std::isdigit(static_cast<unsigned char>(Peek().text[0]))) Next();
  }

  void CheckModelEntry(const Token& word) {
    long slot = 0;
    if (!IsWholeNumber(word.text, slot) || slot < 0 || slot > MAX_MODEL_SLOT) {
      Error(word.line, "model slot " + Quoted(word.text) + " is not a whole number from 0 to 255");
    }
    Token path = Next();
    if (path.end || path.text == "}") {
      Error(word.line, "model slot " + Quoted(word.text) + " has no path");
      if (path.text == "}") mPeeked = path;
      return;
    }
    if (!IsQuoted(path.text)) {
      Error(path.line, "model path " + path.text + " is not written in double quotes");
    }
    const std::string name = QuotedName(path.text);
    if (name.find(".mqo") == std::string::npos) {
      Warning(path.line, "model " + Quoted(name) + ": name models by their \".mqo\" path; the loading bar counts only those");
    }
    if (slot < 0 || slot > MAX_MODEL_SLOT) return;
    if (mSlots.count(slot)) {
      Warning(word.line, "model slot " + std::to_string(slot) + " again (first on line " +
                             std::to_string(mSlotLines[slot]) + "): the later model is used");
    }
    mSlots[slot] = name;
    mSlotLines[slot] = word.line;
  }

  // --- Scene "name" { Object ... } ---

  void CheckScene(const Token& scene) {
    Token name = Next();
    if (!IsQuoted(name.text)) Error(name.line, "scene name " + Quoted(name.text) + " is not written in double quotes");
    const std::string sceneName = QuotedName(name.text);
    if (!ExpectOpen("scene " + Quoted(sceneName))) return;
    const Token open = mOpen;
    int objects = 0;
    bool cameraFirst = false;
    for (;;) {
      Token token = Next();
      if (EndsText(token)) return NeverClosed(open, "scene " + Quoted(sceneName));
      if (token.text == "}") {
        Closed(open, token);
        break;
      }
      if (token.text != "Object") {
        UnknownBlock(token, "in scene " + Quoted(sceneName) + " (a scene holds Object blocks); the player ends the scene here");
        continue;
      }
      const int slot = CheckObject(token);
      if (objects++ == 0) cameraFirst = slot == TDF_CAMERA_SLOT;
    }
    if (objects == 0) {
      Warning(scene.line, "scene " + Quoted(sceneName) + " has no objects: it lasts no time");
    } else if (!cameraFirst) {
      Warning(scene.line, "scene " + Quoted(sceneName) +
                              " does not begin with its camera (Object -1): the player never draws the first object, "
                              "and the scene lasts as long as that object's keys");
    }
  }

  // --- Object N { CameraTrans Visible DataNum Time Part... } --- Returns the slot.

  int CheckObject(const Token& object) {
    Token slotToken = Next();
    long slot = 0;
    const bool numbered = IsWholeNumber(slotToken.text, slot);
    if (!numbered || slot < TDF_CAMERA_SLOT || slot > MAX_MODEL_SLOT) {
      Error(slotToken.line, "object " + Quoted(slotToken.text) + " is not -1 (the camera) or a model slot from 0 to 255");
    }
    const std::string what = "Object " + slotToken.text;
    ObjectState state;
    state.slot = static_cast<int>(slot);
    state.name = what;
    if (numbered && slot >= 0 && slot <= MAX_MODEL_SLOT) {
      auto found = mSlots.find(slot);
      if (found == mSlots.end()) {
        Error(slotToken.line, what + ": the MQO block names no model in slot " + Quoted(std::to_string(slot)) +
                                  ", so the player skips this object's parts");
        state.skipParts = true;
      } else {
        state.modelPath = found->second;
        state.model = mModels(found->second);
      }
    }
    if (!ExpectOpen(what)) return state.slot;
    const Token open = mOpen;
    int stage = -1;
    for (;;) {
      Token token = Next();
      if (EndsText(token)) {
        NeverClosed(open, what);
        break;
      }
      if (token.text == "}") {
        Closed(open, token);
        break;
      }
      const int blockStage = IndexOf(OBJECT_BLOCKS, token.text);
      if (blockStage < 0) {
        UnknownBlock(token, "in " + what + " (an object holds CameraTrans, Visible, DataNum, Time and Part blocks); the player ends the scene here");
        continue;
      }
      if (blockStage < stage || (blockStage == stage && blockStage != PART_STAGE)) {
        Error(token.line, Quoted(token.text) + " after " + Quoted(OBJECT_BLOCKS[stage]) + " in " + what +
                              ": the player reads CameraTrans, Visible, DataNum, Time and then the Part blocks, in this "
                              "order, so this one ends the scene");
      }
      stage = std::max(stage, blockStage);
      CheckObjectBlock(token, state);
    }
    FinishObject(object, state);
    return state.slot;
  }

  struct ObjectState {
    int slot = TDF_CAMERA_SLOT;
    std::string name;
    std::string modelPath;
    const ModelData* model = nullptr;
    bool skipParts = false;
    bool hasDataNum = false;
    bool hasTime = false;
    int parts = 0;
    std::set<std::string> partNames;
  };

  void CheckObjectBlock(const Token& token, ObjectState& state) {
    if (token.text == "CameraTrans" || token.text == "Visible") {
      Token value = Next();
      long number = 0;
      if (!IsWholeNumber(value.text, number)) Error(value.line, token.text + " " + Quoted(value.text) + " is not a whole number");
    } else if (token.text == "DataNum") {
      Token value = Next();
      long count = 0;
      if (!IsWholeNumber(value.text, count) || count < 0) {
        Error(value.line, "DataNum " + Quoted(value.text) + " is not a key count (a whole number, 0 or more)");
        count = 0;
      }
      mKeyCount = static_cast<size_t>(count);
      mHasKeyCount = true;
      state.hasDataNum = true;
    } else if (token.text == "Time") {
      CheckTimes(token, state);
    } else {
      CheckPart(state);
    }
  }

  void CheckTimes(const Token& time, ObjectState& state) {
    state.hasTime = true;
    std::vector<float> times;
    if (!ReadNumbers("the Time block of " + state.name, times)) return;
    if (mHasKeyCount && times.size() != mKeyCount) {
      Error(time.line, "the Time block of " + state.name + " has " + Plural(times.size(), "time", "times") + "; DataNum " +
                           std::to_string(mKeyCount) + " needs " + std::to_string(mKeyCount) +
                           " (the player reads exactly DataNum times, so the rest of the object is misread)");
    }
    for (size_t i = 1; i < times.size(); ++i) {
      if (times[i] < times[i - 1]) {
        Error(time.line, "the Time block of " + state.name + " goes back from " + FormatNumber(times[i - 1]) + " to " +
                             FormatNumber(times[i]) + "; key times must rise");
        break;
      }
    }
    if (!times.empty() && times[0] > 0) {
      Warning(time.line, "the first key time of " + state.name + " is " + FormatNumber(times[0]) +
                             ", not 0: before it the player shows the last key");
    }
  }

  static std::string FormatNumber(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", static_cast<double>(value));
    return text;
  }

  // "{ numbers }": false when the block is not there. Stops early (reporting it) at a word that
  // is no number, which is then left for the caller.
  bool ReadNumbers(const std::string& what, std::vector<float>& values) {
    if (!ExpectOpen(what)) return false;
    const Token open = mOpen;
    for (;;) {
      const Token& token = Peek();
      if (EndsText(token)) {
        NeverClosed(open, what);
        return true;
      }
      if (token.text == "}") {
        Closed(open, Next());
        return true;
      }
      float value = 0;
      if (IsNumber(token.text, value)) {
        values.push_back(value);
        Next();
        continue;
      }
      if (IsKeyword(token.text) || token.text == "{") {
        NeverClosed(open, what);
        return true;
      }
      Error(token.line, Quoted(token.text) + " in " + what + " is not a number (the player reads " +
                            FormatNumber(std::strtof(token.text.c_str(), nullptr)) + ")");
      values.push_back(0);
      Next();
    }
  }

  // --- Part "name" { Position Rotation Scale Alpha } ---

  void CheckPart(ObjectState& state) {
    ++state.parts;
    Token nameToken = Next();
    if (!IsQuoted(nameToken.text)) Error(nameToken.line, "part name " + Quoted(nameToken.text) + " is not written in double quotes");
    const std::string name = QuotedName(nameToken.text);
    const std::string what = "part " + Quoted(name) + " of " + state.name;
    CheckPartName(nameToken, name, state);
    if (!state.partNames.insert(name).second) Warning(nameToken.line, what + " again: its later keys win");
    if (!ExpectOpen(what)) return;
    const Token open = mOpen;
    int stage = -1;
    for (;;) {
      Token token = Next();
      if (EndsText(token)) return NeverClosed(open, what);
      if (token.text == "}") return Closed(open, token);
      const int blockStage = KeyBlockIndex(token.text);
      if (blockStage < 0) {
        UnknownBlock(token, "in " + what + " (a part holds Position, Rotation, Scale and Alpha blocks)");
        continue;
      }
      if (blockStage <= stage) {
        Error(token.line, Quoted(token.text) + " after " + Quoted(KEY_BLOCKS[stage].name) + " in " + what +
                              ": the player reads Position, Rotation, Scale and Alpha once each, in this order, so this "
                              "block and the rest of the object are misread");
      }
      stage = std::max(stage, blockStage);
      CheckKeyBlock(token, KEY_BLOCKS[blockStage], what);
    }
  }

  void CheckPartName(const Token& token, const std::string& name, const ObjectState& state) {
    if (state.slot == TDF_CAMERA_SLOT) {
      if (name != TDF_CAMERA_POSITION_PART && name != TDF_CAMERA_LOOKAT_PART) {
        Error(token.line, "part " + Quoted(name) + " of the camera: its parts are \"camera_pos\" and \"camera_lookat\"");
      }
      return;
    }
    if (!state.model || state.skipParts) return;
    for (const ModelObject& object : state.model->objects) {
      if (object.name == name) return;
    }
    std::string objects;
    for (const ModelObject& object : state.model->objects) objects += (objects.empty() ? "" : ", ") + Quoted(object.name);
    Error(token.line, "part " + Quoted(name) + " matches no object of model " + Quoted(state.modelPath) + " (its objects: " +
                          (objects.empty() ? std::string("none") : objects) + "); the player ignores its keys");
  }

  void CheckKeyBlock(const Token& block, const KeyBlock& key, const std::string& what) {
    std::vector<float> values;
    if (!ReadNumbers("the " + std::string(key.name) + " block of " + what, values)) return;
    if (!mHasKeyCount) return;
    const size_t needed = mKeyCount * static_cast<size_t>(key.width);
    if (values.size() == needed) return;
    std::string perKey = key.width == 1 ? "one for each key" : std::to_string(key.width) + " for each key";
    Error(block.line, "the " + std::string(key.name) + " block of " + what + " has " +
                          Plural(values.size(), "number", "numbers") + "; DataNum " + std::to_string(mKeyCount) +
                          " needs " + std::to_string(needed) + " (" + perKey +
                          "), and the player, reading exactly that many, misreads the rest of the object");
  }

  void FinishObject(const Token& object, const ObjectState& state) {
    if (state.parts == 0) {
      Error(object.line, state.name + " has no Part block: the player takes its \"}\" for the end of the scene and "
                                      "skips the objects after it");
    }
    if (!state.hasDataNum) {
      if (mHasKeyCount) {
        Warning(object.line, state.name + " has no DataNum: the player uses the previous object's count, " +
                                 std::to_string(mKeyCount));
      } else {
        Error(object.line, state.name + " has no DataNum: its key count is unknown");
      }
    }
    if (!state.hasTime && mHasKeyCount && mKeyCount > 0) {
      Error(object.line, state.name + " has no Time block: its keys have no times");
    }
  }

  TdfTokens mTokens;
  std::optional<Token> mPeeked;
  Token mOpen;
  const std::string& mFile;
  const TdfModelLookup& mModels;
  ProductionFindings& mFindings;
  const bool mHeader;
  std::vector<size_t> mIndents;  // of each line, in characters
  std::pair<int, int> mMisclosed{};
  size_t mMisclosedFindings = 0;
  bool mStopped = false;
  std::map<long, std::string> mSlots;
  std::map<long, int> mSlotLines;
  // Kept from object to object, as the player keeps it.
  size_t mKeyCount = 0;
  bool mHasKeyCount = false;
};

}  // namespace

void CheckSceneAnimation(const std::string& text, const std::string& file, const TdfModelLookup& models,
                         ProductionFindings& findings) {
  TdfChecker(text, file, models, findings).Check();
}
