#include "tools/pack_opening.h"

#include <cstdio>

#include "files/pack_file.h"

bool InstallPackFile(const std::string& path, std::string& error) {
  std::FILE* fp = std::fopen(path.c_str(), "rb");
  if (!fp) {
    error = "cannot read " + path;
    return false;
  }
  PackTable table;
  if (table.Read(fp) != PackStatus::Ok) {
    std::fclose(fp);
    error = path + " is not a pack";
    return false;
  }
  InstallPackage(fp, std::move(table));
  return true;
}
