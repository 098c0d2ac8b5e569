#pragma once
// Where the installed showcase production is, found from the running program rather than from
// any build folder: an installation may be moved as a whole (a package unpacked anywhere).

#include <string>

// The folder the showcase is installed in beside this program (PREFIX/bin/torvane →
// PREFIX/share/torvane/showcase); "" when the program's own path cannot be read. The folder
// itself need not exist.
std::string InstalledShowcaseFolder();

// The same for a program at programPath.
std::string ShowcaseFolderBeside(const std::string& programPath);
