#include "files/tdf_tokens.h"

#include "files/text_document.h"

#include <cctype>
#include <cstring>

namespace {

bool IsWhitespace(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

}  // namespace

TdfTokens::TdfTokens(std::string text) : mText(std::move(text)) {
  // The text ends at its first zero byte, as a zero-terminated text does.
  mText.resize(std::strlen(mText.c_str()));
  for (size_t at = 0; at < mText.size(); ++at) {
    if (!IsWhitespace(mText[at]) && (at == 0 || IsWhitespace(mText[at - 1]))) ++mTotalWords;
  }
}

std::string TdfTokens::NextWord() {
  while (mAt < mText.size() && IsWhitespace(mText[mAt])) mLine += mText[mAt++] == '\n';
  size_t start = mAt;
  while (mAt < mText.size() && !IsWhitespace(mText[mAt])) ++mAt;
  if (mAt > start) {
    ++mWordsRead;
    mWordLine = mLine;
  }
  return mText.substr(start, mAt - start);
}

std::string TdfTokens::ReadToken() {
  if (!mPending) mPending = NextWord();
  return TakeToken(mPending);
}

void TdfTokens::SkipBlock() {
  int depth = 0;
  for (std::string word = NextWord(); !word.empty(); word = NextWord()) {
    if (word == "{") ++depth;
    if (word == "}") --depth;
    if (depth <= 0) return;
  }
}

bool TdfTokens::AtEnd() const { return !mPending && mWordsRead == mTotalWords; }

size_t TdfTokens::WordsLeft() const { return mTotalWords - mWordsRead + (mPending ? 1 : 0); }
