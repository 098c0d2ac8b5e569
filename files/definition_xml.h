#pragma once
// Reading a definition file: an XML text whose root element is checked by name. A text that is
// not well formed gives the empty handle and the alert the user must see ("XML Parsing error",
// naming the file, the problem and its line and column); the caller raises it.

#include <cstddef>
#include <string>

#include "core/alert.h"
#include "files/xml_element.h"

inline constexpr const char XML_MESSAGE_CAPTION[] = "XML Parsing error";
inline constexpr const char DEFINITION_ROOT_TAG[] = "TRDataXml";

struct XmlParseResult {
  XmlElement root;  // empty unless code is 0
  int code;         // an XmlError
  int line;         // where parsing stopped; 0 for "First Tag not found"
  int column;
};

// Parses text (length bytes, zero-terminated; a null text gives "No elements found") and finds the
// element named rootTag, without showing anything. Sets the process-wide XmlEncoding from the text.
XmlParseResult ParseXmlText(const char* text, size_t length, const char* rootTag);

// The message box text for a failed result.
std::string XmlErrorMessage(const XmlParseResult& result, const char* path, const char* rootTag);

// Parses a definition file's text. On any failure (warnings included) returns the empty handle and
// sets failure to the alert for it.
XmlElement ParseDefinitionXml(const char* text, size_t length, const char* rootTag, const char* path, Alert& failure);
