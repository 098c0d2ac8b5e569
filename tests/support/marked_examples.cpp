#include "tests/support/marked_examples.h"

#include <sstream>

MarkedExamples FindMarkedExamples(const std::string& page, const std::string& mark) {
  MarkedExamples found;
  std::istringstream lines(page);
  std::string path;
  std::string text;
  bool inBlock = false;
  for (std::string line; std::getline(lines, line);) {
    if (!inBlock && line.rfind(mark, 0) == 0) {
      path = line.substr(mark.size(), line.find(" -->") - mark.size());
    } else if (!inBlock && !path.empty() && line.rfind("```", 0) == 0) {
      inBlock = true;
      text.clear();
    } else if (inBlock && line.rfind("```", 0) == 0) {
      found.examples.emplace_back(path, text);
      inBlock = false;
      path.clear();
    } else if (inBlock) {
      text += line + "\n";
    }
  }
  found.endsInsideBlock = inBlock;
  return found;
}
