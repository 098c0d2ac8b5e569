#pragma once
// One definition per name: every class, struct, union and enum defined at namespace scope in the
// source tree, so that two different types of one qualified name (which the linker takes for one,
// and a Debug build may then destroy with the other's destructor) are found before they link.
// Types in an unnamed namespace, nested in a class or local to a function are left out: they
// cannot meet another file's type of the same name.

#include <string>
#include <vector>

struct TypeDefinition {
  std::string name;  // qualified: "tools::DecodedMusic", or "MusicTrack" at global scope
  std::string file;  // relative to the tree's root
  int line = 0;
};

// The namespace-scope type definitions in the text of one source file.
std::vector<TypeDefinition> FindTypeDefinitions(const std::string& text, const std::string& file);

// The definitions under the folders of root whose qualified name is also defined in another file,
// grouped by name in name order.
std::vector<TypeDefinition> FindTypeClashes(const std::string& root, const std::vector<std::string>& folders);
