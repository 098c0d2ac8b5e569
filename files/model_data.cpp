#include "files/model_data.h"

std::string NamedPointKey(const std::string& name) {
  size_t start = name.find_first_not_of('>');
  return start == std::string::npos ? std::string() : name.substr(start);
}

ModelPoint ModelData::FindNamedPoint(const std::string& name) const {
  auto found = namedPoints.find(NamedPointKey(name));
  return found == namedPoints.end() ? ModelPoint{0, 0, 0} : found->second;
}
