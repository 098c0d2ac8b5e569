#include "production/production_finding.h"

#include <algorithm>

std::string FormatFinding(const ProductionFinding& finding) {
  std::string text = finding.file;
  if (finding.line > 0) text += ":" + std::to_string(finding.line);
  if (finding.line > 0 && finding.column > 0) text += ":" + std::to_string(finding.column);
  text += finding.severity == FindingSeverity::Error ? ": error: " : ": warning: ";
  text += finding.message;
  if (finding.followsFromLine > 0) text += " (follows from line " + std::to_string(finding.followsFromLine) + ")";
  return text;
}

std::string Quoted(const std::string& name) { return "\"" + name + "\""; }

void ProductionFindings::Add(FindingSeverity severity, const std::string& file, int line, int column,
                             const std::string& message) {
  mFindings.push_back({severity, file, line, column, message});
}

void ProductionFindings::MarkCause(size_t cause, size_t first, size_t end) {
  ProductionFinding& causing = mFindings.at(cause);
  causing.likelyCause = true;
  for (size_t i = first; i < std::min(end, mFindings.size()); ++i) {
    ProductionFinding& finding = mFindings[i];
    if (i == cause || finding.file != causing.file || finding.likelyCause || finding.followsFromLine > 0) continue;
    finding.followsFromLine = causing.line;
  }
}

int ProductionFindings::Count(FindingSeverity severity) const {
  return static_cast<int>(
      std::count_if(mFindings.begin(), mFindings.end(), [&](const ProductionFinding& f) { return f.severity == severity; }));
}
