#pragma once
// The token rules of the scene animation reader over a text held in memory: whitespace-delimited
// words, each split further at "(", ")" and blanks, exactly as TextDocument::ReadToken splits
// them, plus the one thing the reader needs beyond that: knowing when the text has run out.

#include <optional>
#include <string>

class TdfTokens {
 public:
  explicit TdfTokens(std::string text);

  // The next token; empty at the end of the text (and for words that begin with a split).
  std::string ReadToken();
  // Consumes whole words (ignoring a split remainder) counting "{" up and "}" down, stopping once
  // the count is not above 0.
  void SkipBlock();
  // True when no word and no remainder is left: every later token is empty.
  bool AtEnd() const;
  // Whole words not yet read, an upper bound for how many values the text can still give.
  size_t WordsLeft() const;
  // The 1-based line of the word the last token came from (0 before the first), for checkers
  // that name the line of a mistake.
  int Line() const { return mWordLine; }

 private:
  std::string NextWord();

  std::string mText;
  size_t mAt = 0;
  size_t mTotalWords = 0;
  size_t mWordsRead = 0;
  int mLine = 1;
  int mWordLine = 0;
  std::optional<std::string> mPending;
};
