#pragma once
// The files of the starter production that `torvane-tool new` writes, built into the tool from
// content/starter and the engine's core files (content/core).

#include <cstddef>
#include <vector>

struct StarterFile {
  const char* path;  // below the production's folder, with "/"
  const unsigned char* bytes;
  size_t size;
};

const std::vector<StarterFile>& StarterFiles();
