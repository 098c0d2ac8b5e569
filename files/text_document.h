#pragma once
// TextDocument: a whole pack entry held in memory and split into tokens for the text formats.
// Words are whitespace-delimited; ReadToken splits them further at "(", ")" and blanks, so
// col(1.000 yields col then 1.000, and shader(3) yields shader, 3 and then an empty token.
// At the end of the text every call returns an empty token.

#include <optional>
#include <sstream>
#include <string>

// Takes the next token from the pending word: up to its first "(", ")" or blank, leaving the rest
// pending (an empty text when the word ends in one of them), or the whole word, leaving nothing.
std::string TakeToken(std::optional<std::string>& pending);

class TextDocument {
 public:
  // Loads the entry at path (a missing entry is a critical error). Returns true.
  bool OpenText(const char* path);
  // Releases the text.
  void CloseText();

  // The next token (see above).
  std::string ReadToken();
  // Reads whole words (ignoring any split remainder) counting "{" up and "}" down, and stops once
  // the count is not above 0: before a "{" it consumes the block through its matching "}";
  // before any other word it consumes that one word.
  void SkipBlock();
  // Reads one token: false when it is "{" or "}", true (an error) for anything else.
  bool ExpectBrace();
  // True when neither a word nor a split remainder is left: every later token is empty.
  bool AtEnd();

  const std::string& Path() const { return mPath; }
  // The path through its last "/" or "\", or empty.
  const std::string& Directory() const { return directory; }
  // The whole text, zero-terminated.
  const char* Text() const { return mText.c_str(); }

 private:
  std::string mPath;
  std::string directory;
  std::string mText;
  std::istringstream mStream;
  // What is left of a split word. Empty text and no remainder differ: after a word that ends in a
  // split character the remainder is an empty text, and the next token is empty.
  std::optional<std::string> mPending;
};
