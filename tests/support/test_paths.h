#pragma once
// Where tests find the source tree (test data, the shared corpus) and the build tree (tools).

#include <string>

std::string SourcePath(const std::string& relative);
std::string BinaryPath(const std::string& relative);
