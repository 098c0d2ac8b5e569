#pragma once
// Splits effect text into tokens: identifiers, numbers, single punctuation characters and whole
// preprocessor lines. Comments vanish. Pure.

#include <string>
#include <string_view>
#include <vector>

#include "render/effect_source.h"

struct EffectToken {
  enum Kind { Identifier, Number, Punct, Directive };
  Kind kind = Punct;
  size_t begin = 0;
  size_t end = 0;
  int line = 0;
};

// Tokens of text in order; an unterminated block comment adds an error and ends the list.
std::vector<EffectToken> TokenizeEffect(std::string_view text, std::vector<EffectMessage>& errors);
