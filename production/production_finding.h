#pragma once
// A problem found in a production, as its author reads it: the file (where the author finds it),
// the line and column when known, and a message that quotes the offending name. Written
// "file:line[:column]: error|warning: message", the way compilers write theirs, so that editors
// jump to it.

#include <string>
#include <vector>

enum class FindingSeverity { Warning, Error };

struct ProductionFinding {
  FindingSeverity severity = FindingSeverity::Error;
  std::string file;
  int line = 0;    // 1-based; 0 when the finding is about the file as a whole
  int column = 0;  // 1-based; 0 when not known
  std::string message;
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

  const std::vector<ProductionFinding>& All() const { return mFindings; }
  int Count(FindingSeverity severity) const;

 private:
  std::vector<ProductionFinding> mFindings;
};
