#pragma once
// Writing XML text that the definition reader reads back: escaped attribute values, floats in the
// fewest digits that read back exactly, and whole elements kept from a parsed tree.

#include <string>

#include "files/xml_element.h"

// text with & < > " written as entities; a text that is not UTF-8 (read in another encoding)
// has its bytes from 0x80 written as &#xHH;, which the reader turns back into those bytes.
std::string XmlEscaped(const std::string& text);

// Whether name can be written as an element or attribute name: an ASCII letter, "_" or ":",
// then letters, digits, "_", ":", "-" or ".".
bool IsXmlName(const char* name);

// ` name="value"`, value escaped.
std::string XmlAttributeText(const char* name, const std::string& value);

// The shortest decimal text that reads back as value.
std::string ShortestFloatText(float value);
std::string ShortestDoubleText(double value);

// element as XML indented by two spaces per level from indent, lines ending in "\n": its
// attributes, then its child elements, or its text when it has no children. Comments and other
// clear runs are not written, nor attributes and elements whose names cannot be written.
std::string XmlElementText(const XmlElement& element, int indent);
