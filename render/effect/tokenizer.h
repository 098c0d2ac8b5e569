#pragma once
// Splits effect text into tokens: identifiers, numbers, single punctuation characters and whole
// preprocessor lines. Comments vanish. Pure.

#include <string>
#include <string_view>
#include <vector>

#include "render/effect/source.h"

struct EffectToken {
  enum Kind { Identifier, Number, Punct, Directive };
  Kind kind = Punct;
  size_t begin = 0;
  size_t end = 0;
  int line = 0;
};

// Editors on some systems start UTF-8 files with it; it is not part of the code.
inline constexpr std::string_view UTF8_BOM = "\xEF\xBB\xBF";

// Tokens of text in order (a leading UTF8_BOM skipped); an unterminated block comment adds an error and ends the list.
std::vector<EffectToken> TokenizeEffect(std::string_view text, std::vector<EffectMessage>& errors);
