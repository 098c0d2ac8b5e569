#pragma once
// The storage behind XmlElement handles: one buffer holding every name, value and run (decoded in
// place and zero-terminated), and flat arrays of nodes, attributes and runs linked by index.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "files/xml_element.h"

constexpr uint32_t XML_NO_NODE = UINT32_MAX;

struct XmlNode {
  const char* name;
  uint32_t parent;
  uint32_t firstChild;
  uint32_t lastChild;
  uint32_t nextSibling;
  uint32_t childCount;
  uint32_t firstAttribute;
  uint32_t attributeCount;
  bool declaration;
};

struct XmlAttribute {
  const char* name;
  const char* value;  // null when written without a value
};

struct XmlNodeRun {
  uint32_t node;
  XmlRun run;
};

// The last child found by position, so that walking children by index 0, 1, 2... is linear
// rather than quadratic. Trees are read on one thread only.
struct XmlChildCursor {
  uint32_t parent = XML_NO_NODE;
  bool anyName = false;
  std::string name;
  int index = 0;
  uint32_t child = XML_NO_NODE;
};

struct XmlDocument {
  std::unique_ptr<char[]> buffer;
  std::vector<XmlNode> nodes;  // node 0 is the unnamed top node
  std::vector<XmlAttribute> attributes;
  std::vector<XmlNodeRun> runs;
  mutable XmlChildCursor cursor;
};
