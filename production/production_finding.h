#pragma once
// A problem found in a production, as its author reads it: the file (where the author finds it),
// the line and column when known, and a message that quotes the offending name. Written
// "file:line[:column]: error|warning: message", the way compilers write theirs, so that editors
// jump to it.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

enum class FindingSeverity { Warning, Error };

struct ProductionFinding {
  FindingSeverity severity = FindingSeverity::Error;
  std::string file;
  int line = 0;    // 1-based; 0 when the finding is about the file as a whole
  int column = 0;  // 1-based; 0 when not known
  std::string message;
  // One mistake often shows as many: the likely cause is reported first, and what it brings
  // about says so ("follows from line N").
  bool likelyCause = false;
  int followsFromLine = 0;
};

std::string FormatFinding(const ProductionFinding& finding);

// name between double quotes, as the messages quote every name.
std::string Quoted(const std::string& name);

class ProductionFindings {
 public:
  void Error(const std::string& file, int line, const std::string& message) { Add(FindingSeverity::Error, file, line, 0, message); }
  void Warning(const std::string& file, int line, const std::string& message) {
    Add(FindingSeverity::Warning, file, line, 0, message);
  }
  void Add(FindingSeverity severity, const std::string& file, int line, int column, const std::string& message);
  void Add(const ProductionFinding& finding) { mFindings.push_back(finding); }

  size_t Size() const { return mFindings.size(); }
  // The finding at index cause is the likely cause of those of its file from index first up to
  // (not including) end that have no cause yet.
  void MarkCause(size_t cause, size_t first, size_t end = SIZE_MAX);

  const std::vector<ProductionFinding>& All() const { return mFindings; }
  int Count(FindingSeverity severity) const;

 private:
  std::vector<ProductionFinding> mFindings;
};
