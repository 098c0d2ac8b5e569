#pragma once
// The name an author most likely meant when they wrote one that does not exist: the closest by
// edits (letters added, dropped, changed or swapped, case aside), if it is close enough to be a
// slip of the keys rather than another name.

#include <string>
#include <vector>

// Empty when no candidate is close enough.
std::string NearestName(const std::string& written, const std::vector<std::string>& candidates);

// "; did you mean "NAME"?" for the nearest candidate, or empty.
std::string DidYouMean(const std::string& written, const std::vector<std::string>& candidates);
