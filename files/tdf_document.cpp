#include "files/tdf_document.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "files/tdf_tokens.h"
#include "files/text_document.h"

namespace {

// A token with its first character removed and then one of its trailing double quotes.
std::string QuotedName(const std::string& token) {
  if (token.empty()) return std::string();
  std::string name = token.substr(1);
  if (!name.empty() && name.back() == '"') name.pop_back();
  return name;
}

int32_t ToInteger(const std::string& token) { return static_cast<int32_t>(std::strtol(token.c_str(), nullptr, 10)); }
float ToReal(const std::string& token) { return static_cast<float>(std::strtod(token.c_str(), nullptr)); }
bool StartsWithDigit(const std::string& token) { return !token.empty() && std::isdigit(static_cast<unsigned char>(token[0])); }

std::string TextOf(const char* path) {
  TextDocument document;
  document.OpenText(path);
  std::string text = document.Text();
  document.CloseText();
  return text;
}

}  // namespace

// The grammar of the scene animation file, token by token.
class TdfParser {
 public:
  TdfParser(const std::string& text, TdfDocument& document, const TdfModelLoader& loader)
      : mTokens(text), mDocument(document), mLoader(loader), mKeyBudget(mTokens.WordsLeft()) {}

  void Parse() {
    for (std::string token = Next(); token != "Eof"; token = Next()) {
      if (token.empty() && mTokens.AtEnd()) break;
      if (token == "MQO") ReadModelTable();
      if (token == "Scene") ReadScene();
    }
  }

 private:
  std::string Next() { return mTokens.ReadToken(); }

  void ReadModelTable() {
    Next();  // the opening brace
    std::string word = Next();
    while (word != "}" && !(word.empty() && mTokens.AtEnd())) {
      if (word.find('#') != std::string::npos) {
        // "#" disables the entry after it: its number and its path.
        if (word == "#") {
          Next();
          word = Next();
        }
        while (!StartsWithDigit(word)) {
          if (word == "}" || (word.empty() && mTokens.AtEnd())) return;
          word = Next();
        }
      }
      int32_t slot = ToInteger(word);
      std::string path = QuotedName(Next());
      if (slot >= 0 && slot < TDF_MODEL_SLOTS) StoreModel(slot, path);
      word = Next();
    }
  }

  // The loader lets go of the model a slot held before; objects read with it must not keep it.
  void StoreModel(int32_t slot, const std::string& path) {
    const ModelData* replaced = mDocument.mModels[slot];
    mDocument.mModels[slot] = mLoader(slot, path);
    mDocument.mModelPaths[slot] = path;
    if (!replaced) return;
    for (TdfScene& scene : mDocument.mScenes) {
      for (TdfObject& object : scene.objects) {
        if (object.model == replaced) object.model = nullptr;
      }
    }
  }

  void ReadScene() {
    TdfScene scene;
    scene.name = QuotedName(Next());
    Next();  // the opening brace
    std::string token = Next();
    while (token == "Object") token = ReadObject(scene);
    mDocument.mScenes.push_back(std::move(scene));
  }

  // Reads one object block and returns the token after it.
  std::string ReadObject(TdfScene& scene) {
    TdfObject& object = scene.objects.emplace_back();
    object.modelIndex = ToInteger(Next());
    object.model = mDocument.GetModel(object.modelIndex);
    Next();  // the opening brace
    std::string token = Next();
    if (token == "CameraTrans") {
      object.CameraTrans = ToInteger(Next());
      token = Next();
    }
    if (token == "Visible") {
      object.Visible = ToInteger(Next());
      token = Next();
    }
    if (token == "DataNum") {
      mKeyCount = KeyCount(ToInteger(Next()));
      AddDefaultParts(object);
      token = Next();
    }
    if (token == "Time") {
      Next();
      for (size_t k = 0; k < mKeyCount; ++k) object.times.push_back(ToReal(Next()));
      Next();
      token = Next();
    }
    while (token == "Part") {
      ReadPart(object);
      token = Next();
      if (token == "}") token = Next();
    }
    return token;
  }

  // A key count the text could back: each key of a Time block takes a word of its own, so the
  // counts of all objects together cannot exceed the words of the text.
  size_t KeyCount(int32_t written) {
    if (written < 0) return 0;
    size_t count = std::min({static_cast<size_t>(written), mTokens.WordsLeft(), mKeyBudget});
    mKeyBudget -= count;
    return count;
  }

  void AddDefaultParts(TdfObject& object) const {
    std::vector<TdfKey> keys(mKeyCount);
    if (object.modelIndex == TDF_CAMERA_SLOT) {
      object.parts[TDF_CAMERA_POSITION_PART] = keys;
      object.parts[TDF_CAMERA_LOOKAT_PART] = keys;
    } else if (object.model) {
      for (const ModelObject& part : object.model->objects) object.parts[part.name] = keys;
    }
  }

  // Reads a part block through its closing brace.
  void ReadPart(TdfObject& object) {
    std::string name = QuotedName(Next());
    if (object.parts.empty()) {
      mTokens.SkipBlock();
      return;
    }
    auto found = object.parts.find(name);
    std::vector<TdfKey>* keys = found == object.parts.end() ? nullptr : &found->second;
    Next();  // the opening brace
    std::string token = Next();
    if (token == "Position") token = ReadTriples(keys, &TdfKey::position);
    if (token == "Rotation") token = ReadTriples(keys, &TdfKey::rotation);
    if (token == "Scale") token = ReadTriples(keys, &TdfKey::scale);
    if (token == "Alpha") {
      Next();
      for (size_t k = 0; k < mKeyCount; ++k) {
        float alpha = ToReal(Next());
        if (keys && k < keys->size()) (*keys)[k].alpha = alpha;
      }
      Next();
      token = Next();
    }
  }

  std::string ReadTriples(std::vector<TdfKey>* keys, std::array<float, 3> TdfKey::*field) {
    Next();
    for (size_t k = 0; k < mKeyCount; ++k) {
      std::array<float, 3> value{ToReal(Next()), ToReal(Next()), ToReal(Next())};
      if (keys && k < keys->size()) (*keys)[k].*field = value;
    }
    Next();
    return Next();
  }

  TdfTokens mTokens;
  TdfDocument& mDocument;
  const TdfModelLoader& mLoader;
  // Kept from object to object: an object without DataNum reads the previous count.
  size_t mKeyCount = 0;
  size_t mKeyBudget;
};

TdfDocument::~TdfDocument() { Clear(); }

void TdfDocument::Clear() {
  mModels.fill(nullptr);
  mModelPaths.fill(std::string());
  mScenes.clear();
  sceneEndTimes.clear();
}

bool TdfDocument::ParseTdf(const char* path, const TdfModelLoader& loader) { return ParseTdfText(TextOf(path), loader); }

bool TdfDocument::ParseTdfText(const std::string& text, const TdfModelLoader& loader) {
  Clear();
  TdfParser(text, *this, loader).Parse();
  float end = 0;
  for (const TdfScene& scene : mScenes) {
    bool timed = !scene.objects.empty() && !scene.objects[0].times.empty();
    end += timed ? scene.objects[0].times.back() : 0.0f;
    sceneEndTimes.push_back(end);
  }
  return true;
}

const ModelData* TdfDocument::GetModel(int slot) const {
  return slot >= 0 && slot < TDF_MODEL_SLOTS ? mModels[slot] : nullptr;
}

const std::string& TdfDocument::GetModelPath(int slot) const {
  static const std::string none;
  return slot >= 0 && slot < TDF_MODEL_SLOTS ? mModelPaths[slot] : none;
}

bool TdfDocument::GetModelMaterial(int slot, size_t m, ModelMaterial& material) const {
  const ModelData* model = GetModel(slot);
  if (!model || m >= model->materials.size()) return false;
  material = model->materials[m];
  return true;
}

int CountModelReferences(const char* path) { return CountModelReferencesInText(TextOf(path)); }

int CountModelReferencesInText(const std::string& text) {
  TdfTokens tokens(text);
  int count = 0;
  for (std::string token = tokens.ReadToken(); token != "Eof" && !(token.empty() && tokens.AtEnd());
       token = tokens.ReadToken()) {
    if (token != "MQO") continue;
    tokens.ReadToken();
    for (std::string entry = tokens.ReadToken(); entry != "}" && !(entry.empty() && tokens.AtEnd());
         entry = tokens.ReadToken()) {
      if (entry.find(".mqo") != std::string::npos) ++count;
    }
  }
  return count;
}
