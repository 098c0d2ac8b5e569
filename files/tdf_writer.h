#pragma once
// Writes scene animations as text the strict checker and the player both read: blocks in the
// order the player needs them, every brace a word of its own, numbers that read back exactly.

#include <map>
#include <string>
#include <vector>

#include "files/tdf_document.h"

struct TdfWriteScene {
  std::string name;
  std::vector<const TdfObject*> objects;  // the camera first
  bool withAlpha = false;
};

// models: slot -> pack path of the .mqo. description: the third header line.
std::string WriteTdfText(const std::string& description, const std::map<int, std::string>& models,
                         const std::vector<TdfWriteScene>& scenes);
