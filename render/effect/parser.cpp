#include "render/effect/parser.h"

#include <cctype>
#include <cstdlib>
#include <map>
#include <string>

#include "render/effect/states.h"
#include "render/effect/tokenizer.h"

namespace {

// Larger arrays are refused rather than expanded into thousands of parameters.
constexpr long MAX_ARRAY_SIZE = 1024;

class Parser {
 public:
  Parser(std::string_view text, EffectSource& out) : mText(text), mOut(out) {}

  bool Run() {
    mOut = EffectSource{};
    mOut.code.assign(mText);
    if (mText.substr(0, UTF8_BOM.size()) == UTF8_BOM) mOut.code.replace(0, UTF8_BOM.size(), UTF8_BOM.size(), ' ');
    mTokens = TokenizeEffect(mText, mOut.errors);
    size_t i = 0;
    while (mOut.errors.empty() && i < mTokens.size()) {
      if (mTokens[i].kind == EffectToken::Directive) {
        ReadDirective(i++);
      } else if (Is(i, "technique")) {
        i = ReadTechnique(i);
      } else {
        i = ReadChunk(i);
      }
    }
    return mOut.errors.empty();
  }

 private:
  std::string_view Text(size_t i) const {
    if (i >= mTokens.size()) return {};
    return mText.substr(mTokens[i].begin, mTokens[i].end - mTokens[i].begin);
  }
  bool Is(size_t i, std::string_view text) const { return i < mTokens.size() && Text(i) == text; }
  bool IsIdentifier(size_t i) const { return i < mTokens.size() && mTokens[i].kind == EffectToken::Identifier; }
  int LineOf(size_t i) const { return i < mTokens.size() ? mTokens[i].line : (mTokens.empty() ? 1 : mTokens.back().line); }

  void Error(size_t at, std::string text) { mOut.errors.push_back({LineOf(at), std::move(text)}); }

  // Blanks code from the start of token first to the end of token last, keeping line breaks.
  void Blank(size_t first, size_t last) {
    for (size_t p = mTokens[first].begin; p < mTokens[last].end; ++p) {
      if (mOut.code[p] != '\n') mOut.code[p] = ' ';
    }
  }

  void AddChunk(EffectChunk::Kind kind, size_t first, size_t last) {
    EffectChunk chunk;
    chunk.kind = kind;
    chunk.begin = mTokens[first].begin;
    chunk.end = mTokens[last].end;
    chunk.line = mTokens[first].line;
    mOut.chunks.push_back(std::move(chunk));
  }

  // Index of the token that closes the bracket at open, or the token count when unbalanced.
  size_t MatchingClose(size_t open) {
    std::string stack;
    for (size_t i = open; i < mTokens.size(); ++i) {
      if (mTokens[i].kind != EffectToken::Punct) continue;
      const char c = mText[mTokens[i].begin];
      if (c == '(' || c == '[' || c == '{') {
        stack += c == '(' ? ')' : c == '[' ? ']' : '}';
      } else if (c == ')' || c == ']' || c == '}') {
        if (stack.empty() || stack.back() != c) {
          Error(i, std::string("unexpected '") + c + "'");
          return mTokens.size();
        }
        stack.pop_back();
        if (stack.empty()) return i;
      }
    }
    Error(open, "unclosed bracket");
    return mTokens.size();
  }

  void ReadDirective(size_t i) {
    const std::string_view line = Text(i);
    size_t p = 1;
    while (p < line.size() && (line[p] == ' ' || line[p] == '\t')) ++p;
    if (line.compare(p, 7, "version") == 0) {
      Blank(i, i);
      return;
    }
    AddChunk(EffectChunk::Directive, i, i);
    std::vector<std::string> words;
    for (size_t q = p; q < line.size();) {
      if (std::isalpha(static_cast<unsigned char>(line[q])) || line[q] == '_' ||
          std::isdigit(static_cast<unsigned char>(line[q]))) {
        size_t e = q;
        while (e < line.size() && (std::isalnum(static_cast<unsigned char>(line[e])) || line[e] == '_')) ++e;
        words.emplace_back(line.substr(q, e - q));
        q = e;
      } else {
        ++q;
      }
    }
    // Functions a macro names may be called from anywhere the macro is used.
    for (size_t w = 1; w < words.size(); ++w) mOut.roots.push_back(words[w]);
    if (words.size() == 3 && words[0] == "define") mMacros[words[1]] = words[2];
  }

  // A declaration (to its ';') or a function (to its closing brace), starting at token first.
  size_t ReadChunk(size_t first) {
    const bool braceDeclaration = Is(first, "struct") || Is(first, "uniform");
    for (size_t i = first; i < mTokens.size(); ++i) {
      if (mTokens[i].kind != EffectToken::Punct) continue;
      const char c = mText[mTokens[i].begin];
      if (c == ';') {
        ReadDeclaration(first, i);
        return i + 1;
      }
      if (c == '(' || c == '[' || (c == '{' && braceDeclaration)) {
        i = MatchingClose(i);
      } else if (c == '{' && i > first && Is(i - 1, ")")) {
        const size_t close = MatchingClose(i);
        if (close < mTokens.size()) ReadFunction(first, close);
        return close + 1;
      } else if (c == ')' || c == ']' || c == '}' || c == '{') {
        Error(i, std::string("unexpected '") + c + "'");
        return mTokens.size();
      }
    }
    if (mOut.errors.empty()) Error(first, "declaration without ';'");
    return mTokens.size();
  }

  void ReadFunction(size_t first, size_t last) {
    AddChunk(EffectChunk::Function, first, last);
    EffectChunk& chunk = mOut.chunks.back();
    for (size_t i = first; i <= last; ++i) {
      if (!IsIdentifier(i)) continue;
      if (chunk.function.empty() && Is(i + 1, "(")) {
        chunk.function = Text(i);
      } else {
        chunk.references.emplace_back(Text(i));
      }
    }
    if (chunk.function.empty()) Error(first, "function without a name");
  }

  void ReadDeclaration(size_t first, size_t last) {
    if (Is(first, "attribute")) {
      AddChunk(EffectChunk::Attribute, first, last);
      return;
    }
    if (Is(first, "struct")) {
      ReadStruct(first, last);
    } else if (Is(first, "uniform")) {
      ReadUniforms(first + 1, last);
    } else {
      AddRootsAfterAssignments(first, last);
    }
    AddChunk(EffectChunk::Declaration, first, last);
  }

  // Identifiers in initialisers may call functions, which must then be in every stage.
  void AddRootsAfterAssignments(size_t first, size_t last) {
    bool afterAssignment = false;
    for (size_t i = first; i < last; ++i) {
      if (Is(i, "=")) afterAssignment = true;
      if (Is(i, ",")) afterAssignment = false;
      if (afterAssignment && IsIdentifier(i)) mOut.roots.emplace_back(Text(i));
    }
  }

  // struct NAME { TYPE name[N] : SEMANTIC, ...; ... } [declarators];
  void ReadStruct(size_t first, size_t last) {
    if (!IsIdentifier(first + 1) || !Is(first + 2, "{")) {
      Error(first, "a struct needs a name and a body");
      return;
    }
    EffectStruct record;
    record.name = Text(first + 1);
    const size_t close = MatchingClose(first + 2);
    if (close > last) return;
    for (size_t i = first + 3; i < close && mOut.errors.empty();) {
      if (!IsIdentifier(i)) {
        Error(i, "expected a member type in struct '" + record.name + "'");
        return;
      }
      const std::string type(Text(i));
      i = ReadDeclarators(type, i + 1, close, record.members);
    }
    mOut.structs.push_back(std::move(record));
  }

  // uniform TYPE name[N] : SEMANTIC = init, ...;
  void ReadUniforms(size_t first, size_t last) {
    if (!IsIdentifier(first)) {
      Error(first, "expected a type after 'uniform'");
      return;
    }
    ReadDeclarators(std::string(Text(first)), first + 1, last + 1, mOut.uniforms);
  }

  // Reads "name[N] : SEM = value" items separated by ',' up to and including the ';' before end.
  // Returns the index after that ';'.
  size_t ReadDeclarators(const std::string& type, size_t i, size_t end, std::vector<EffectVariable>& into) {
    while (mOut.errors.empty() && i < end) {
      EffectVariable variable;
      variable.type = type;
      variable.line = LineOf(i);
      if (!IsIdentifier(i)) {
        Error(i, "expected a name after '" + type + "'");
        return end;
      }
      variable.name = Text(i++);
      if (Is(i, "[")) {
        if (!ReadArraySize(i + 1, variable) || !Is(i + 2, "]")) return end;
        i += 3;
      }
      if (Is(i, ":")) {
        if (!IsIdentifier(i + 1)) {
          Error(i, "expected a semantic after ':'");
          return end;
        }
        variable.semantic = Text(i + 1);
        Blank(i, i + 1);
        i += 2;
      }
      if (Is(i, "=")) i = ReadInitialiser(i, end, variable);
      into.push_back(std::move(variable));
      if (Is(i, ";")) return i + 1;
      if (!Is(i, ",")) {
        Error(i, "expected ',' or ';' after '" + into.back().name + "'");
        return end;
      }
      ++i;
    }
    return end;
  }

  bool ReadArraySize(size_t i, EffectVariable& variable) {
    std::string size(Text(i));
    if (IsIdentifier(i)) {
      const auto macro = mMacros.find(size);
      size = macro == mMacros.end() ? "" : macro->second;
    }
    char* stop = nullptr;
    const long value = std::strtol(size.c_str(), &stop, 0);
    if (size.empty() || *stop || value < 1 || value > MAX_ARRAY_SIZE) {
      Error(i, "the size of array '" + variable.name + "' must be a number from 1 to 1024");
      return false;
    }
    variable.arraySize = static_cast<int>(value);
    return true;
  }

  // "= sampler_state { ... }" is read and blanked; any other value stays as GLSL.
  size_t ReadInitialiser(size_t equals, size_t end, EffectVariable& variable) {
    if (Is(equals + 1, "sampler_state")) {
      if (!Is(equals + 2, "{")) {
        Error(equals + 1, "expected '{' after sampler_state");
        return end;
      }
      const size_t close = MatchingClose(equals + 2);
      if (close >= end) return end;
      for (size_t i = equals + 3; i < close && mOut.errors.empty();) {
        i = ReadAssignmentInto(i, close, true, variable.samplerStates, mOut.errors);
      }
      Blank(equals, close);
      return close + 1;
    }
    size_t i = equals + 1;
    for (; i < end && !Is(i, ",") && !Is(i, ";"); ++i) {
      if (Is(i, "(") || Is(i, "[")) {
        i = MatchingClose(i);
      } else if (IsIdentifier(i)) {
        mOut.roots.emplace_back(Text(i));
      }
    }
    if (i > equals + 1 && i <= mTokens.size()) {
      variable.initialiserBegin = mTokens[equals].begin;
      variable.initialiserEnd = mTokens[i - 1].end;
      const size_t valueBegin = mTokens[equals + 1].begin;
      variable.initialiser = mText.substr(valueBegin, variable.initialiserEnd - valueBegin);
    }
    return i;
  }

  // "Name = value;" inside a pass or sampler_state block ending before end. Fills assignment or
  // sets problem. Returns the index after the ';'.
  size_t ReadAssignment(size_t i, size_t end, bool sampler, EffectStateAssignment& assignment, std::string& problem) {
    assignment.line = LineOf(i);
    size_t semicolon = i;
    while (semicolon < end && !Is(semicolon, ";")) ++semicolon;
    if (!IsIdentifier(i) || !Is(i + 1, "=") || semicolon >= end) {
      problem = "expected 'Name = value;'";
      return semicolon < end ? semicolon + 1 : end;
    }
    const std::string name(Text(i));
    const auto state = FindEffectState(name, sampler);
    if (!state) {
      problem = std::string(sampler ? "unknown sampler state '" : "unknown render state '") + name + "'";
      return semicolon + 1;
    }
    assignment.state = *state;
    ReadStateValues(i + 2, semicolon, assignment, problem);
    return semicolon + 1;
  }

  // Appends the assignment at i to states, or its problem to problems.
  size_t ReadAssignmentInto(size_t i, size_t end, bool sampler, std::vector<EffectStateAssignment>& states,
                            std::vector<EffectMessage>& problems) {
    EffectStateAssignment assignment;
    std::string problem;
    const size_t next = ReadAssignment(i, end, sampler, assignment, problem);
    if (problem.empty()) {
      states.push_back(assignment);
    } else {
      problems.push_back({assignment.line, problem});
    }
    return next;
  }

  // Values as "v", "a, b" or "type(a, b)", one per component of the state.
  void ReadStateValues(size_t first, size_t end, EffectStateAssignment& assignment, std::string& problem) {
    const EffectStateInfo& info = EffectState(assignment.state);
    if (IsIdentifier(first) && Is(first + 1, "(") && end > first + 2 && Is(end - 1, ")")) {
      first += 2;
      --end;
    }
    int count = 0;
    for (size_t i = first; i < end; ++i) {
      size_t valueEnd = i;
      while (valueEnd < end && !Is(valueEnd, ",")) ++valueEnd;
      if (count < 4) {
        std::string text;
        for (size_t t = i; t < valueEnd; ++t) text += Text(t);
        if (!ReadStateValue(text, info.kinds[count < info.arity ? count : 0], assignment.values[count])) {
          problem = "'" + text + "' is not a value for " + info.name;
          return;
        }
      }
      ++count;
      i = valueEnd;
    }
    if (count != info.arity) {
      problem = std::string(info.name) + " takes " + std::to_string(info.arity) +
                (info.arity == 1 ? " value" : " values");
    }
  }

  static bool ReadStateValue(const std::string& text, EffectValueKind kind, float& value) {
    if (text.empty()) return false;
    char* stop = nullptr;
    const float number = std::strtof(text.c_str(), &stop);
    const bool isNumber = *stop == '\0';
    switch (kind) {
      case EffectValueKind::Bool:
        if (text == "true" || text == "false") {
          value = text == "true";
          return true;
        }
        value = number != 0;
        return isNumber;
      case EffectValueKind::Float:
      case EffectValueKind::Int:
        value = number;
        return isNumber;
      default: {
        const auto glValue = FindEffectEnum(text, kind);
        if (glValue) value = static_cast<float>(*glValue);
        return glValue.has_value();
      }
    }
  }

  // technique [NAME] { pass [NAME] { ... } ... }
  size_t ReadTechnique(size_t first) {
    EffectTechnique technique;
    technique.line = LineOf(first);
    size_t i = first + 1;
    if (IsIdentifier(i)) technique.name = Text(i++);
    if (technique.name.empty()) technique.name = "technique" + std::to_string(mOut.techniques.size());
    if (!Is(i, "{")) {
      Error(i, "expected '{' after technique '" + technique.name + "'");
      return mTokens.size();
    }
    const size_t close = MatchingClose(i);
    if (close >= mTokens.size()) return close;
    for (++i; i < close && mOut.errors.empty();) {
      if (!Is(i, "pass")) {
        Error(i, "expected 'pass' in technique '" + technique.name + "'");
        return mTokens.size();
      }
      i = ReadPass(i, close, technique);
    }
    if (technique.passes.empty()) technique.errors.push_back({technique.line, "technique '" + technique.name + "' has no passes"});
    Blank(first, close);
    mOut.techniques.push_back(std::move(technique));
    return Is(close + 1, ";") ? close + 2 : close + 1;
  }

  size_t ReadPass(size_t first, size_t end, EffectTechnique& technique) {
    EffectPass pass;
    pass.line = LineOf(first);
    size_t i = first + 1;
    if (IsIdentifier(i)) pass.name = Text(i++);
    if (pass.name.empty()) pass.name = "pass" + std::to_string(technique.passes.size());
    if (!Is(i, "{")) {
      Error(i, "expected '{' after pass '" + pass.name + "'");
      return end;
    }
    const size_t close = MatchingClose(i);
    if (close >= end) return end;
    for (++i; i < close;) {
      if (IsProgramName(Text(i))) {
        i = ReadProgram(i, close, pass, technique);
        continue;
      }
      i = ReadAssignmentInto(i, close, false, pass.states, technique.errors);
    }
    if (pass.vertexEntry.empty()) technique.errors.push_back({pass.line, "pass '" + pass.name + "' has no VertexProgram"});
    if (pass.fragmentEntry.empty()) {
      technique.errors.push_back({pass.line, "pass '" + pass.name + "' has no FragmentProgram"});
    }
    technique.passes.push_back(std::move(pass));
    return close + 1;
  }

  static bool IsProgramName(std::string_view name) {
    return name == "VertexProgram" || name == "VertexShader" || name == "FragmentProgram" || name == "FragmentShader" ||
           name == "PixelShader";
  }

  // VertexProgram = compile PROFILE entry(); or = entry(); or = entry;
  size_t ReadProgram(size_t i, size_t end, EffectPass& pass, EffectTechnique& technique) {
    const bool vertex = Text(i).substr(0, 6) == "Vertex";
    const int line = LineOf(i);
    size_t semicolon = i;
    while (semicolon < end && !Is(semicolon, ";")) ++semicolon;
    std::string entry;
    if (Is(i + 1, "=")) {
      for (size_t t = i + 2; t < semicolon && !Is(t, "("); ++t) {
        if (IsIdentifier(t)) entry = Text(t);
      }
    }
    if (entry.empty() || entry == "compile") {
      technique.errors.push_back({line, std::string("expected '") + std::string(Text(i)) + " = function;'"});
    } else {
      (vertex ? pass.vertexEntry : pass.fragmentEntry) = entry;
    }
    return semicolon < end ? semicolon + 1 : end;
  }

  std::string_view mText;
  EffectSource& mOut;
  std::vector<EffectToken> mTokens;
  std::map<std::string, std::string> mMacros;
};

}  // namespace

bool ParseEffect(std::string_view text, EffectSource& out) { return Parser(text, out).Run(); }
