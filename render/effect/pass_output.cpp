#include "render/effect/pass_output.h"

#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "render/effect/stage_source.h"
#include "render/effect/tokenizer.h"

namespace {

// The tokens of one stage's GLSL as text.
std::vector<std::string_view> Words(const std::string& glsl, bool& onlyBuilderDirectives) {
  std::vector<EffectMessage> errors;
  std::vector<std::string_view> words;
  onlyBuilderDirectives = true;
  for (const EffectToken& token : TokenizeEffect(glsl, errors)) {
    std::string_view word(glsl.data() + token.begin, token.end - token.begin);
    if (token.kind == EffectToken::Directive) {
      // A macro of the author's could rename any word this reading looks for.
      const bool fromBuilder = word.starts_with("#version") || word.starts_with("#line") || word.starts_with("#define TORVANE_");
      onlyBuilderDirectives = onlyBuilderDirectives && fromBuilder;
      continue;
    }
    words.push_back(word);
  }
  if (!errors.empty()) onlyBuilderDirectives = false;
  return words;
}

size_t Count(const std::vector<std::string_view>& words, std::string_view word) {
  size_t count = 0;
  for (std::string_view w : words) count += w == word;
  return count;
}

bool Opens(std::string_view w) { return w == "(" || w == "[" || w == "{"; }
bool Closes(std::string_view w) { return w == ")" || w == "]" || w == "}"; }

// The words of entry's body when entry is defined exactly once at the top level; empty otherwise.
std::vector<std::string_view> EntryBody(const std::vector<std::string_view>& words, const std::string& entry) {
  std::vector<std::string_view> body;
  int definitions = 0;
  int depth = 0;
  for (size_t i = 0; i < words.size(); ++i) {
    if (depth == 0 && words[i] == entry && i + 1 < words.size() && words[i + 1] == "(") {
      size_t close = i + 1;
      for (int parens = 0; close < words.size(); ++close) {
        parens += words[close] == "(" ? 1 : words[close] == ")" ? -1 : 0;
        if (parens == 0) break;
      }
      if (close + 1 < words.size() && words[close + 1] == "{") {
        ++definitions;
        int braces = 0;
        size_t end = close + 1;
        for (; end < words.size(); ++end) {
          braces += words[end] == "{" ? 1 : words[end] == "}" ? -1 : 0;
          if (braces == 0) break;
        }
        if (end == words.size()) return {};
        body.assign(words.begin() + static_cast<std::ptrdiff_t>(close + 2), words.begin() + static_cast<std::ptrdiff_t>(end));
      }
    }
    depth += Opens(words[i]) ? 1 : Closes(words[i]) ? -1 : 0;
  }
  if (definitions != 1) body.clear();
  return body;
}

// The statements of a body that are not nested in another statement, each with its ';' (a block
// statement, such as an if, ends with its '}'). Empty when the body does not split cleanly.
std::vector<std::vector<std::string_view>> TopStatements(const std::vector<std::string_view>& body) {
  std::vector<std::vector<std::string_view>> statements;
  std::vector<std::string_view> current;
  int depth = 0;
  for (std::string_view word : body) {
    current.push_back(word);
    const bool closesBlock = word == "}" && depth == 1;
    depth += Opens(word) ? 1 : Closes(word) ? -1 : 0;
    if (depth < 0) return {};
    if ((word == ";" && depth == 0) || closesBlock) {
      statements.push_back(std::move(current));
      current.clear();
    }
  }
  if (!current.empty()) return {};
  return statements;
}

using Statement = std::vector<std::string_view>;

bool Is(const Statement& s, std::initializer_list<std::string_view> words) {
  return s.size() == words.size() && std::equal(s.begin(), s.end(), words.begin());
}

// True when matrix is a mat4 uniform that screen quads set: named or marked SCREEN_QUAD_MATRIX.
bool IsScreenMatrix(const EffectSource& source, std::string_view matrix) {
  for (const EffectVariable& uniform : source.uniforms) {
    if (uniform.name != matrix) continue;
    return uniform.type == "mat4" && uniform.arraySize == 0 &&
           (uniform.name == SCREEN_QUAD_MATRIX || uniform.semantic == SCREEN_QUAD_MATRIX);
  }
  return false;
}

bool PlacesQuadAsGiven(const EffectSource& source, const std::string& entry, const std::string& glsl) {
  bool clean = false;
  const std::vector<std::string_view> words = Words(glsl, clean);
  if (!clean || Count(words, "gl_Position") != 1) return false;
  const std::vector<std::string_view> body = EntryBody(words, entry);
  if (body.empty() || Count(body, "return") != 0) return false;
  for (const Statement& s : TopStatements(body)) {
    if (s.empty() || s.front() != "gl_Position") continue;
    if (Is(s, {"gl_Position", "=", "ftransform", "(", ")", ";"})) return true;
    if (Is(s, {"gl_Position", "=", "gl_ModelViewProjectionMatrix", "*", "gl_Vertex", ";"})) return true;
    // The matrix must be the uniform itself, not a local of the same name.
    return s.size() == 6 && s[1] == "=" && s[3] == "*" && s[4] == "gl_Vertex" && s[5] == ";" &&
           IsScreenMatrix(source, s[2]) && Count(body, s[2]) == 1;
  }
  return false;
}

// The alpha of "vec4(..., A)" or "vec4(A)" with A a number, from the words inside the brackets.
std::optional<float> LastNumberArgument(const Statement& s, size_t open, size_t close) {
  size_t lastStart = open + 1;
  int depth = 0;
  for (size_t i = open + 1; i < close; ++i) {
    depth += Opens(s[i]) ? 1 : Closes(s[i]) ? -1 : 0;
    if (depth == 0 && s[i] == ",") lastStart = i + 1;
  }
  std::string number;
  if (close - lastStart == 2 && (s[lastStart] == "-" || s[lastStart] == "+")) {
    number = std::string(s[lastStart]) + std::string(s[lastStart + 1]);
  } else if (close - lastStart == 1) {
    number = s[lastStart];
  } else {
    return std::nullopt;
  }
  char* end = nullptr;
  const float value = std::strtof(number.c_str(), &end);
  if (end == number.c_str() || (*end != '\0' && *end != 'f' && *end != 'F')) return std::nullopt;
  return value;
}

void ReadFragment(const std::string& entry, const std::string& glsl, PassOutput& out) {
  bool clean = false;
  const std::vector<std::string_view> words = Words(glsl, clean);
  if (!clean || Count(words, "discard") != 0 || Count(words, "gl_FragData") != 0) return;
  const std::vector<std::string_view> body = EntryBody(words, entry);
  if (body.empty() || Count(body, "return") != 0) return;
  const std::vector<Statement> statements = TopStatements(body);
  if (statements.empty()) return;
  const Statement& last = statements.back();
  if (last.size() < 4 || last[0] != "gl_FragColor" || last[1] != "=" || last.back() != ";") return;
  out.writesEveryFragment = true;
  const size_t close = last.size() - 2;
  if (last.size() >= 6 && last[2] == "vec4" && last[3] == "(" && last[close] == ")") {
    int depth = 0;
    for (size_t i = 3; i <= close; ++i) {
      depth += Opens(last[i]) ? 1 : Closes(last[i]) ? -1 : 0;
      if (depth == 0 && i < close) return;  // the brackets after vec4 end before the statement
    }
    out.constantAlpha = LastNumberArgument(last, 3, close);
  }
}

}  // namespace

PassOutput ReadPassOutput(const EffectSource& source, const EffectPass& pass) {
  PassOutput out;
  std::string vertex;
  std::string fragment;
  std::string error;
  if (!BuildStageSource(source, EffectStage::Vertex, pass.vertexEntry, vertex, error) ||
      !BuildStageSource(source, EffectStage::Fragment, pass.fragmentEntry, fragment, error)) {
    return out;
  }
  out.placesQuadAsGiven = PlacesQuadAsGiven(source, pass.vertexEntry, vertex);
  ReadFragment(pass.fragmentEntry, fragment, out);
  return out;
}
