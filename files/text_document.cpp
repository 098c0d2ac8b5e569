#include "files/text_document.h"

#include "files/entry_text.h"

std::string TakeToken(std::optional<std::string>& pending) {
  std::string token = std::move(*pending);
  size_t cut = token.find_first_of("() ");
  if (cut == std::string::npos) {
    pending.reset();
    return token;
  }
  pending = token.substr(cut + 1);
  token.resize(cut);
  return token;
}

bool TextDocument::OpenText(const char* path) {
  mPath = path ? path : "";
  size_t separator = mPath.find_last_of("/\\");
  directory = separator == std::string::npos ? "" : mPath.substr(0, separator + 1);
  mText = ReadEntryText(path);
  // The text ends at its first zero byte, as a zero-terminated text does.
  mStream = std::istringstream(std::string(mText.c_str()));
  mPending.reset();
  return true;
}

void TextDocument::CloseText() {
  mText = std::string();
  mStream = std::istringstream();
  mPending.reset();
}

std::string TextDocument::ReadToken() {
  if (!mPending) {
    std::string word;
    mStream >> word;
    mPending = std::move(word);
  }
  return TakeToken(mPending);
}

void TextDocument::SkipBlock() {
  int depth = 0;
  std::string word;
  while (mStream >> word) {
    if (word == "{") ++depth;
    if (word == "}") --depth;
    if (depth <= 0) return;
  }
}

bool TextDocument::ExpectBrace() {
  std::string token = ReadToken();
  return token != "{" && token != "}";
}

bool TextDocument::AtEnd() {
  if (mPending) return false;
  mStream >> std::ws;
  return mStream.eof();
}
