#include "render/effect/tokenizer.h"

#include <cctype>

namespace {

bool IsIdentStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool IsIdentChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }
bool IsDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

class Tokenizer {
 public:
  Tokenizer(std::string_view text, std::vector<EffectMessage>& errors) : mText(text), mErrors(errors) {}

  std::vector<EffectToken> Run() {
    if (mText.substr(0, UTF8_BOM.size()) == UTF8_BOM) mPos = UTF8_BOM.size();
    while (SkipSpaceAndComments()) {
      const size_t begin = mPos;
      const int line = mLine;
      const char c = mText[mPos];
      EffectToken::Kind kind = EffectToken::Punct;
      if (c == '#' && mLineStart) {
        SkipDirective();
        kind = EffectToken::Directive;
      } else if (IsIdentStart(c)) {
        while (mPos < mText.size() && IsIdentChar(mText[mPos])) ++mPos;
        kind = EffectToken::Identifier;
      } else if (IsDigit(c) || (c == '.' && mPos + 1 < mText.size() && IsDigit(mText[mPos + 1]))) {
        SkipNumber();
        kind = EffectToken::Number;
      } else {
        ++mPos;
      }
      mLineStart = false;
      mTokens.push_back({kind, begin, mPos, line});
    }
    return std::move(mTokens);
  }

 private:
  // Advances to the next token; false at the end of the text or of a broken comment.
  bool SkipSpaceAndComments() {
    while (mPos < mText.size()) {
      const char c = mText[mPos];
      if (c == '\n') {
        ++mLine;
        ++mPos;
        mLineStart = true;
      } else if (std::isspace(static_cast<unsigned char>(c))) {
        ++mPos;
      } else if (mText.compare(mPos, 2, "//") == 0) {
        while (mPos < mText.size() && mText[mPos] != '\n') ++mPos;
      } else if (mText.compare(mPos, 2, "/*") == 0) {
        const size_t close = mText.find("*/", mPos + 2);
        if (close == std::string_view::npos) {
          mErrors.push_back({mLine, "unterminated comment"});
          return false;
        }
        for (size_t i = mPos; i < close; ++i) mLine += mText[i] == '\n';
        mPos = close + 2;
      } else {
        return true;
      }
    }
    return false;
  }

  // A directive runs to the end of its line; a backslash before the line break (LF or CR LF)
  // continues it.
  void SkipDirective() {
    while (mPos < mText.size() && mText[mPos] != '\n') {
      if (mText[mPos] == '\\') {
        const size_t lineFeed = mText.compare(mPos + 1, 2, "\r\n") == 0 ? mPos + 2 : mPos + 1;
        if (lineFeed < mText.size() && mText[lineFeed] == '\n') {
          ++mLine;
          mPos = lineFeed;
        }
      }
      ++mPos;
    }
  }

  void SkipNumber() {
    while (mPos < mText.size()) {
      const char c = mText[mPos];
      if ((c == 'e' || c == 'E') && mPos + 1 < mText.size() && (mText[mPos + 1] == '+' || mText[mPos + 1] == '-')) {
        mPos += 2;
      } else if (IsIdentChar(c) || c == '.') {
        ++mPos;
      } else {
        break;
      }
    }
  }

  std::string_view mText;
  std::vector<EffectMessage>& mErrors;
  std::vector<EffectToken> mTokens;
  size_t mPos = 0;
  int mLine = 1;
  bool mLineStart = true;
};

}  // namespace

std::vector<EffectToken> TokenizeEffect(std::string_view text, std::vector<EffectMessage>& errors) {
  return Tokenizer(text, errors).Run();
}
