#include "files/mqo_document.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

bool Fail(std::string& error, const std::string& reason) {
  error = reason;
  return false;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }
bool IsSpace(char c) { return IsBlank(c) || c == '\n'; }
bool IsDelimiter(char c) { return IsSpace(c) || c == '(' || c == ')' || c == '{' || c == '}' || c == '"' || c == '[' || c == ']'; }

// Reads the document as a stream of words, quoted names, parentheses and braces. Lines matter
// only inside material and face lists, where one line is one entry.
class MqoScanner {
 public:
  MqoScanner(const uint8_t* data, size_t size) : mText(reinterpret_cast<const char*>(data)), mSize(size) {}

  bool AtEnd() { return mAt >= mSize; }
  // The 1-based line of the next byte to read; counted on from the last call, as reading only
  // moves forward.
  int Line() {
    for (; mCounted < mAt && mCounted < mSize; ++mCounted) {
      if (mText[mCounted] == '\n') ++mLine;
    }
    return mLine;
  }
  char Peek() const { return mAt < mSize ? mText[mAt] : '\0'; }
  void SkipSpace() {
    while (mAt < mSize && IsSpace(mText[mAt])) ++mAt;
  }
  // Skips blanks on this line; true when the line (or the text) ends here.
  bool AtLineEnd() {
    while (mAt < mSize && IsBlank(mText[mAt])) ++mAt;
    return mAt >= mSize || mText[mAt] == '\n';
  }
  bool Accept(char c) {
    SkipSpace();
    if (Peek() != c) return false;
    ++mAt;
    return true;
  }
  std::string Word() {
    SkipSpace();
    size_t start = mAt;
    while (mAt < mSize && !IsDelimiter(mText[mAt])) ++mAt;
    return std::string(mText + start, mAt - start);
  }
  // A name in double quotes, which may hold any byte but a quote or a line feed.
  bool Quoted(std::string& text) {
    if (!Accept('"')) return false;
    size_t start = mAt;
    while (mAt < mSize && mText[mAt] != '"' && mText[mAt] != '\n') ++mAt;
    text.assign(mText + start, mAt - start);
    return Accept('"');
  }
  float Float() { return std::strtof(Word().c_str(), nullptr); }
  long Integer() { return std::strtol(Word().c_str(), nullptr, 10); }
  void SkipLine() {
    while (mAt < mSize && mText[mAt] != '\n') ++mAt;
  }
  // After an opening brace: everything through the matching closing brace, quoted names included.
  bool SkipBlock() {
    for (int depth = 1; mAt < mSize;) {
      char c = mText[mAt++];
      if (c == '"') {
        while (mAt < mSize && mText[mAt] != '"' && mText[mAt] != '\n') ++mAt;
        if (mAt < mSize) ++mAt;
      } else if (c == '{') {
        ++depth;
      } else if (c == '}' && --depth == 0) {
        return true;
      }
    }
    return false;
  }
  // The rest of a statement: to the end of its line, or through its block if one opens on it.
  bool SkipStatement() {
    while (!AtLineEnd()) {
      char c = mText[mAt++];
      if (c == '{') return SkipBlock();
      if (c == '"') {
        while (mAt < mSize && mText[mAt] != '"' && mText[mAt] != '\n') ++mAt;
        if (Peek() == '"') ++mAt;
      }
    }
    return true;
  }
  // Raw bytes after the current line, as the binary vertex chunk stores them.
  bool Binary(size_t count, const char*& bytes) {
    SkipLine();
    if (mAt >= mSize) return false;
    ++mAt;
    if (count > mSize - mAt) return false;
    bytes = mText + mAt;
    mAt += count;
    return true;
  }

 private:
  const char* mText;
  size_t mSize;
  size_t mAt = 0;
  size_t mCounted = 0;
  int mLine = 1;
};

// Reads key(args) pairs to the end of the line; args are words or quoted names.
template <class OnAttribute>
bool ReadAttributes(MqoScanner& in, OnAttribute onAttribute) {
  while (!in.AtLineEnd()) {
    std::string key = in.Word();
    if (key.empty()) return false;
    std::vector<std::string> args;
    if (in.Peek() == '(') {
      in.Accept('(');
      while (!in.Accept(')')) {
        if (in.AtEnd() || in.AtLineEnd()) return false;
        std::string arg;
        if (in.Peek() == '"') {
          if (!in.Quoted(arg)) return false;
        } else {
          arg = in.Word();
          if (arg.empty()) return false;
        }
        args.push_back(arg);
      }
    }
    onAttribute(key, args);
  }
  return true;
}

float ArgFloat(const std::vector<std::string>& args, size_t i, float fallback) {
  return i < args.size() ? std::strtof(args[i].c_str(), nullptr) : fallback;
}

void SetMaterialAttribute(MqoMaterial& material, const std::string& key, const std::vector<std::string>& args) {
  if (key == "shader") material.shader = static_cast<int>(ArgFloat(args, 0, 3));
  if (key == "col") {
    for (size_t i = 0; i < 4; ++i) material.color[i] = ArgFloat(args, i, material.color[i]);
  }
  if (key == "dif") material.diffuse = ArgFloat(args, 0, material.diffuse);
  if (key == "amb") material.ambient = ArgFloat(args, 0, material.ambient);
  if (key == "emi") material.emissive = ArgFloat(args, 0, material.emissive);
  if (key == "spc") material.specular = ArgFloat(args, 0, material.specular);
  if (key == "power") material.power = ArgFloat(args, 0, material.power);
  if (!args.empty() && key == "tex") material.texture = args[0];
  if (!args.empty() && key == "aplane") material.alphaPlane = args[0];
  if (!args.empty() && key == "bump") material.bump = args[0];
}

bool ReadMaterials(MqoScanner& in, MqoDocument& document, std::string& error) {
  in.Integer();
  if (!in.Accept('{')) return Fail(error, "Material chunk without '{'");
  while (!in.Accept('}')) {
    MqoMaterial material;
    if (!in.Quoted(material.name)) return Fail(error, "material without a quoted name");
    bool ok = ReadAttributes(in, [&](const std::string& key, const std::vector<std::string>& args) {
      SetMaterialAttribute(material, key, args);
    });
    if (!ok) return Fail(error, "unreadable material \"" + material.name + "\"");
    document.materials.push_back(material);
  }
  return true;
}

// "vertex N {": the count and its line.
MqoDeclaredCount ReadDeclaredCount(MqoScanner& in) {
  in.SkipSpace();
  MqoDeclaredCount declared;
  declared.line = in.Line();
  declared.count = std::max(0L, in.Integer());
  return declared;
}

bool ReadVertices(MqoScanner& in, MqoObject& object) {
  object.declaredVertices = ReadDeclaredCount(in);
  if (!in.Accept('{')) return false;
  while (!in.Accept('}')) {
    if (in.AtEnd()) return false;
    for (int axis = 0; axis < 3; ++axis) {
      std::string word = in.Word();
      if (word.empty()) return false;
      object.vertices.push_back(std::strtof(word.c_str(), nullptr));
    }
  }
  return true;
}

// BVertex { Vector N [BYTES] <binary floats> ... }: each entry names its byte count in brackets
// and its bytes follow the line.
bool ReadBinaryVertices(MqoScanner& in, MqoObject& object) {
  in.Integer();
  if (!in.Accept('{')) return false;
  while (!in.Accept('}')) {
    std::string key = in.Word();
    in.Integer();
    if (key.empty() || !in.Accept('[')) return false;
    long bytes = in.Integer();
    const char* data = nullptr;
    if (bytes < 0 || !in.Accept(']') || !in.Binary(static_cast<size_t>(bytes), data)) return false;
    if (key != "Vector") continue;
    for (long at = 0; at + 4 <= bytes; at += 4) {
      uint32_t bits = static_cast<uint8_t>(data[at]) | static_cast<uint8_t>(data[at + 1]) << 8 |
                      static_cast<uint8_t>(data[at + 2]) << 16 | static_cast<uint32_t>(static_cast<uint8_t>(data[at + 3])) << 24;
      float value;
      std::memcpy(&value, &bits, sizeof value);
      object.vertices.push_back(value);
    }
    object.vertices.resize(object.vertices.size() / 3 * 3);
  }
  return true;
}

void SetFaceAttribute(MqoFace& face, const std::string& key, const std::vector<std::string>& args) {
  if (key == "V") {
    for (const std::string& arg : args) face.vertices.push_back(static_cast<uint32_t>(std::strtoul(arg.c_str(), nullptr, 10)));
  }
  if (key == "M" && !args.empty()) face.material = static_cast<int>(std::strtol(args[0].c_str(), nullptr, 10));
  if (key == "UV") {
    for (size_t i = 0; i + 1 < args.size(); i += 2) face.uv.push_back({ArgFloat(args, i, 0), ArgFloat(args, i + 1, 0)});
  }
}

bool ReadFaces(MqoScanner& in, MqoObject& object) {
  object.declaredFaces = ReadDeclaredCount(in);
  if (!in.Accept('{')) return false;
  while (!in.Accept('}')) {
    if (in.AtEnd()) return false;
    MqoFace face;
    face.line = in.Line();
    long corners = in.Integer();
    bool ok = ReadAttributes(in, [&](const std::string& key, const std::vector<std::string>& args) {
      SetFaceAttribute(face, key, args);
    });
    if (!ok || corners != static_cast<long>(face.vertices.size())) return false;
    object.faces.push_back(std::move(face));
  }
  return true;
}

void ReadTriple(MqoScanner& in, std::array<float, 3>& values) {
  for (float& value : values) value = in.Float();
}

bool ReadObject(MqoScanner& in, MqoDocument& document, std::string& error) {
  MqoObject object;
  if (!in.Quoted(object.name) || !in.Accept('{')) return Fail(error, "Object chunk without a quoted name and '{'");
  while (!in.Accept('}')) {
    if (in.AtEnd()) return Fail(error, "object \"" + object.name + "\" is not closed");
    std::string key = in.Word();
    bool ok = true;
    if (key == "depth") object.depth = static_cast<int>(in.Integer());
    else if (key == "visible") object.visible = static_cast<int>(in.Integer());
    else if (key == "facet") object.facet = in.Float();
    else if (key == "scale") ReadTriple(in, object.scale);
    else if (key == "mirror") object.mirror = static_cast<int>(in.Integer());
    else if (key == "mirror_axis") object.mirrorAxis = static_cast<int>(in.Integer());
    else if (key == "vertex") ok = ReadVertices(in, object);
    else if (key == "BVertex") ok = ReadBinaryVertices(in, object);
    else if (key == "face") ok = ReadFaces(in, object);
    else if (key.empty()) ok = false;
    else ok = in.SkipStatement();
    if (!ok) return Fail(error, "unreadable \"" + key + "\" in object \"" + object.name + "\"");
  }
  document.objects.push_back(std::move(object));
  return true;
}

bool ReadHeader(MqoScanner& in, std::string& error) {
  if (in.Word() != "Metasequoia" || in.Word() != "Document") return Fail(error, "not a Metasequoia document");
  if (in.Word() != "Format" || in.Word() != "Text") return Fail(error, "only the text format is supported");
  in.SkipLine();
  return true;
}

}  // namespace

bool ParseMqo(const uint8_t* data, size_t size, MqoDocument& document, std::string& error, int* errorLine) {
  document = MqoDocument{};
  MqoScanner in(data, size);
  if (!ReadHeader(in, error)) {
    if (errorLine) *errorLine = 1;
    return false;
  }
  for (;;) {
    in.SkipSpace();
    if (in.AtEnd()) return true;
    std::string chunk = in.Word();
    bool ok = true;
    if (chunk == "Eof") return true;
    if (chunk == "Material") ok = ReadMaterials(in, document, error);
    else if (chunk == "Object") ok = ReadObject(in, document, error);
    else if (chunk.empty()) ok = Fail(error, "unexpected '" + std::string(1, in.Peek()) + "'");
    else if (!in.SkipStatement()) ok = Fail(error, "chunk \"" + chunk + "\" is not closed");
    if (!ok) {
      if (errorLine) *errorLine = in.Line();
      document = MqoDocument{};
      return false;
    }
  }
}
