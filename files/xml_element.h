#pragma once
// XmlElement: a shared handle to one element of a parsed XML tree, or the empty handle.
// Copying a handle shares the tree; the tree lives as long as any handle into it, so a handle to
// a child stays valid after the root handle is gone. Names compare without regard to ASCII case;
// children and attributes keep document order.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

struct XmlDocument;

// A text run (character data) or a clear run (comment, CDATA, DOCTYPE and the like).
struct XmlRun {
  std::string_view text;
  bool clear;
};

class XmlElement {
 public:
  // The empty handle.
  XmlElement() = default;
  XmlElement(std::shared_ptr<const XmlDocument> document, uint32_t node);

  bool IsEmpty() const { return !mDocument; }
  // The name as written in the start tag; "" for the empty handle.
  const char* Name() const;
  // True for a <?name ...?> element.
  bool IsDeclaration() const;
  // The byte offset of the element's name in the parsed text (just after its "<"), for messages
  // that name the line; 0 for the empty handle.
  size_t SourceOffset() const;

  // The value of the first attribute named name, or null when there is none, when it has no
  // value, or for the empty handle.
  const char* Attribute(const char* name) const;
  // How many child elements are named name; 0 for the empty handle.
  int ChildCount(const char* name) const;
  // The index-th (from 0) child element named name, or the empty handle.
  XmlElement Child(const char* name, int index) const;

  // Every attribute and child element in document order.
  int AttributeCount() const;
  const char* AttributeName(int index) const;
  // Null for an attribute written without a value.
  const char* AttributeValue(int index) const;
  int ElementCount() const;
  XmlElement Element(int index) const;
  // The element's text and clear runs in document order.
  std::vector<XmlRun> Runs() const;

 private:
  // The index-th child named name (any child for a null name), or XML_NO_NODE.
  uint32_t FindChild(const char* name, int index) const;
  // The first sibling from child on (child included) whose name matches, or XML_NO_NODE.
  uint32_t FirstMatching(uint32_t child, const char* name) const;

  std::shared_ptr<const XmlDocument> mDocument;
  uint32_t mNode = 0;
};

// ASCII names compared without regard to case.
bool XmlNamesEqual(const char* a, const char* b);
