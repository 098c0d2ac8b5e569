#pragma once
// Where tests find the source tree (test data, the shared corpus) and the build tree (tools).

#include <string>

std::string SourcePath(const std::string& relative);
std::string BinaryPath(const std::string& relative);
// The bytes of a file under the source tree; empty when it cannot be read.
std::string ReadSourceFile(const std::string& relative);
