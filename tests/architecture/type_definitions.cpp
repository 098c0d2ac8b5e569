#include "tests/architecture/type_definitions.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

namespace fs = std::filesystem;

namespace {

struct Token {
  std::string text;
  int line;
};

bool IsIdentifierStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool IsIdentifierPart(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// Skips from the opening quote at text[at] past its closing quote; raw strings end at )delimiter".
size_t SkipLiteral(const std::string& text, size_t at, int& line) {
  const char quote = text[at];
  const bool raw = quote == '"' && at > 0 && text[at - 1] == 'R';
  if (raw) {
    size_t open = text.find('(', at);
    if (open == std::string::npos) return text.size();
    std::string end = ")" + text.substr(at + 1, open - at - 1) + "\"";
    size_t close = text.find(end, open);
    if (close == std::string::npos) return text.size();
    line += static_cast<int>(std::count(text.begin() + static_cast<long>(at), text.begin() + static_cast<long>(close), '\n'));
    return close + end.size();
  }
  size_t i = at + 1;
  while (i < text.size() && text[i] != quote && text[i] != '\n') i += text[i] == '\\' ? 2 : 1;
  return i + 1;
}

// The words and punctuation of a C++ text without comments, literals and preprocessor lines.
std::vector<Token> Tokenize(const std::string& text) {
  std::vector<Token> tokens;
  int line = 1;
  bool lineStart = true;
  for (size_t i = 0; i < text.size();) {
    const char c = text[i];
    if (c == '\n') {
      ++line;
      lineStart = true;
      ++i;
    } else if (std::isspace(static_cast<unsigned char>(c))) {
      ++i;
    } else if (c == '#' && lineStart) {
      while (i < text.size() && text[i] != '\n') i += text[i] == '\\' && i + 1 < text.size() && text[i + 1] == '\n' ? (++line, 2) : 1;
    } else if (text.compare(i, 2, "//") == 0) {
      i = text.find('\n', i);
      if (i == std::string::npos) i = text.size();
    } else if (text.compare(i, 2, "/*") == 0) {
      size_t end = text.find("*/", i + 2);
      end = end == std::string::npos ? text.size() : end + 2;
      line += static_cast<int>(std::count(text.begin() + static_cast<long>(i), text.begin() + static_cast<long>(end), '\n'));
      i = end;
    } else if (c == '"' || (c == '\'' && (i == 0 || !std::isxdigit(static_cast<unsigned char>(text[i - 1]))))) {
      lineStart = false;
      i = SkipLiteral(text, i, line);
    } else if (IsIdentifierStart(c)) {
      lineStart = false;
      size_t end = i;
      while (end < text.size() && IsIdentifierPart(text[end])) ++end;
      tokens.push_back({text.substr(i, end - i), line});
      i = end;
    } else {
      lineStart = false;
      const bool scope = text.compare(i, 2, "::") == 0;
      tokens.push_back({scope ? "::" : std::string(1, c), line});
      i += scope ? 2 : 1;
    }
  }
  return tokens;
}

bool IsTypeKey(const std::string& word) { return word == "class" || word == "struct" || word == "union" || word == "enum"; }

enum class ScopeKind { Namespace, Hidden, Other };

struct Scope {
  ScopeKind kind;
  std::string prefix;  // the qualified namespace name with "::", for a namespace
};

// Each reads the head of a namespace or a type definition from the keyword at tokens[i]: its name,
// with i moved to its "{". False for a declaration that opens nothing (no "{" after the head).
bool ReadNamespaceHead(const std::vector<Token>& tokens, size_t& i, std::string& name) {
  size_t at = i + 1;
  name.clear();
  while (at < tokens.size() && (IsIdentifierStart(tokens[at].text[0]) || tokens[at].text == "::")) name += tokens[at++].text;
  if (at >= tokens.size() || tokens[at].text != "{") return false;
  i = at;
  return true;
}

bool ReadTypeHead(const std::vector<Token>& tokens, size_t& i, std::string& name) {
  size_t at = i + 1;
  if (tokens[i].text == "enum" && at < tokens.size() && (tokens[at].text == "class" || tokens[at].text == "struct")) ++at;
  while (at + 1 < tokens.size() && tokens[at].text == "[" && tokens[at + 1].text == "[") {
    while (at < tokens.size() && tokens[at].text != "]") ++at;
    at += 2;
  }
  if (at >= tokens.size() || !IsIdentifierStart(tokens[at].text[0])) return false;
  name = tokens[at++].text;
  if (at < tokens.size() && tokens[at].text == "final") ++at;
  if (at < tokens.size() && tokens[at].text == ":") {
    while (at < tokens.size() && tokens[at].text != "{" && tokens[at].text != ";") ++at;
  }
  if (at >= tokens.size() || tokens[at].text != "{") return false;
  i = at;
  return true;
}

}  // namespace

std::vector<TypeDefinition> FindTypeDefinitions(const std::string& text, const std::string& file) {
  const std::vector<Token> tokens = Tokenize(text);
  std::vector<TypeDefinition> found;
  std::vector<Scope> scopes = {{ScopeKind::Namespace, ""}};
  for (size_t i = 0; i < tokens.size(); ++i) {
    const Scope& current = scopes.back();
    const std::string& word = tokens[i].text;
    std::string name;
    if (word == "}") {
      if (scopes.size() > 1) scopes.pop_back();
    } else if (word == "{") {
      scopes.push_back({current.kind == ScopeKind::Namespace ? ScopeKind::Other : current.kind, ""});
    } else if (current.kind != ScopeKind::Namespace) {
      continue;
    } else if (word == "namespace" && ReadNamespaceHead(tokens, i, name)) {
      if (name.empty()) {
        scopes.push_back({ScopeKind::Hidden, ""});
      } else {
        scopes.push_back({ScopeKind::Namespace, current.prefix + name + "::"});
      }
    } else if (word == "extern" && i + 1 < tokens.size() && tokens[i + 1].text == "{") {
      scopes.push_back(current);  // extern "C" { (its literal is not a token) names nothing new
      ++i;
    } else if (IsTypeKey(word) && (i == 0 || tokens[i - 1].text != "friend")) {
      const int line = tokens[i].line;
      if (!ReadTypeHead(tokens, i, name)) continue;
      found.push_back({current.prefix + name, file, line});
      scopes.push_back({ScopeKind::Other, ""});
    }
  }
  return found;
}

std::vector<TypeDefinition> FindTypeClashes(const std::string& root, const std::vector<std::string>& folders) {
  std::map<std::string, std::vector<TypeDefinition>> byName;
  for (const std::string& folder : folders) {
    const fs::path top = fs::path(root) / folder;
    if (!fs::is_directory(top)) continue;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(top)) {
      const fs::path& path = entry.path();
      if (!entry.is_regular_file() || (path.extension() != ".h" && path.extension() != ".cpp")) continue;
      std::ifstream in(path);
      std::stringstream text;
      text << in.rdbuf();
      for (TypeDefinition& definition : FindTypeDefinitions(text.str(), fs::relative(path, root).generic_string())) {
        byName[definition.name].push_back(std::move(definition));
      }
    }
  }
  std::vector<TypeDefinition> clashes;
  for (auto& [name, definitions] : byName) {
    std::set<std::string> files;
    for (const TypeDefinition& definition : definitions) files.insert(definition.file);
    if (files.size() < 2) continue;
    std::sort(definitions.begin(), definitions.end(),
              [](const TypeDefinition& a, const TypeDefinition& b) { return a.file < b.file; });
    clashes.insert(clashes.end(), definitions.begin(), definitions.end());
  }
  return clashes;
}
