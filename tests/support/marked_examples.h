#pragma once
// The code blocks of a documentation page that follow a mark line "<!-- MARK PATH -->": each
// example's production path and text, in page order.

#include <string>
#include <utility>
#include <vector>

struct MarkedExamples {
  std::vector<std::pair<std::string, std::string>> examples;  // path, text
  bool endsInsideBlock = false;
};

// mark is what precedes the path, e.g. "<!-- example: ".
MarkedExamples FindMarkedExamples(const std::string& page, const std::string& mark);
