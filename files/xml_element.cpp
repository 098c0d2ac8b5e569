#include "files/xml_element.h"

#include "files/xml_document.h"

namespace {

constexpr unsigned char FoldAscii(unsigned char c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; }

}  // namespace

bool XmlNamesEqual(const char* a, const char* b) {
  if (!a || !b) return false;
  for (;; ++a, ++b) {
    unsigned char x = FoldAscii(static_cast<unsigned char>(*a));
    if (x != FoldAscii(static_cast<unsigned char>(*b))) return false;
    if (x == 0) return true;
  }
}

XmlElement::XmlElement(std::shared_ptr<const XmlDocument> document, uint32_t node)
    : mDocument(std::move(document)), mNode(node) {}

const char* XmlElement::Name() const { return mDocument ? mDocument->nodes[mNode].name : ""; }

size_t XmlElement::SourceOffset() const {
  // Names stay where the parser found them: only values and text are decoded in place.
  if (!mDocument || mNode == 0) return 0;
  return size_t(mDocument->nodes[mNode].name - mDocument->buffer.get());
}

bool XmlElement::IsDeclaration() const { return mDocument && mDocument->nodes[mNode].declaration; }

const char* XmlElement::Attribute(const char* name) const {
  for (int i = 0; i < AttributeCount(); ++i) {
    if (XmlNamesEqual(AttributeName(i), name)) return AttributeValue(i);
  }
  return nullptr;
}

int XmlElement::ChildCount(const char* name) const {
  if (!mDocument) return 0;
  int count = 0;
  for (uint32_t child = mDocument->nodes[mNode].firstChild; child != XML_NO_NODE;
       child = mDocument->nodes[child].nextSibling) {
    count += XmlNamesEqual(mDocument->nodes[child].name, name);
  }
  return count;
}

XmlElement XmlElement::Child(const char* name, int index) const {
  if (!name) return XmlElement();
  uint32_t child = FindChild(name, index);
  return child == XML_NO_NODE ? XmlElement() : XmlElement(mDocument, child);
}

uint32_t XmlElement::FirstMatching(uint32_t child, const char* name) const {
  while (child != XML_NO_NODE && name && !XmlNamesEqual(mDocument->nodes[child].name, name)) {
    child = mDocument->nodes[child].nextSibling;
  }
  return child;
}

uint32_t XmlElement::FindChild(const char* name, int index) const {
  if (!mDocument || index < 0) return XML_NO_NODE;
  XmlChildCursor& cursor = mDocument->cursor;
  bool sameWalk = cursor.parent == mNode && cursor.index <= index && cursor.anyName == !name &&
                  (!name || XmlNamesEqual(cursor.name.c_str(), name));
  int at = sameWalk ? cursor.index : 0;
  uint32_t child = sameWalk ? cursor.child : FirstMatching(mDocument->nodes[mNode].firstChild, name);
  for (; child != XML_NO_NODE && at < index; ++at) child = FirstMatching(mDocument->nodes[child].nextSibling, name);
  if (child == XML_NO_NODE) return child;
  if (!sameWalk) {
    cursor.parent = mNode;
    cursor.anyName = !name;
    cursor.name = name ? name : "";
  }
  cursor.index = index;
  cursor.child = child;
  return child;
}

int XmlElement::AttributeCount() const { return mDocument ? int(mDocument->nodes[mNode].attributeCount) : 0; }

const char* XmlElement::AttributeName(int index) const {
  if (index < 0 || index >= AttributeCount()) return nullptr;
  return mDocument->attributes[mDocument->nodes[mNode].firstAttribute + index].name;
}

const char* XmlElement::AttributeValue(int index) const {
  if (index < 0 || index >= AttributeCount()) return nullptr;
  return mDocument->attributes[mDocument->nodes[mNode].firstAttribute + index].value;
}

int XmlElement::ElementCount() const { return mDocument ? int(mDocument->nodes[mNode].childCount) : 0; }

XmlElement XmlElement::Element(int index) const {
  uint32_t child = FindChild(nullptr, index);
  return child == XML_NO_NODE ? XmlElement() : XmlElement(mDocument, child);
}

std::vector<XmlRun> XmlElement::Runs() const {
  std::vector<XmlRun> runs;
  if (!mDocument) return runs;
  for (const XmlNodeRun& run : mDocument->runs) {
    if (run.node == mNode) runs.push_back(run.run);
  }
  return runs;
}
