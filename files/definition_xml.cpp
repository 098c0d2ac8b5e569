#include "files/definition_xml.h"

#include <cstdio>

#include "files/xml_encoding.h"
#include "files/xml_error.h"
#include "files/xml_parser.h"

XmlParseResult ParseXmlText(const char* text, size_t length, const char* rootTag) {
  if (std::optional<XmlEncoding> detected = DetectXmlEncoding(text, length)) SetXmlEncoding(*detected);
  XmlEncoding encoding = CurrentXmlEncoding();
  XmlParseOutcome outcome = ParseXmlTree(text, length, encoding);
  XmlParseResult result{XmlElement(), outcome.code, 1, 1};
  if (!outcome.document) return result;

  const XmlDocument& document = *outcome.document;
  if (result.code == XML_ERROR_NONE && document.nodes[0].childCount == 0) result.code = XML_WARNING_NO_XML_TAG;
  bool searchRoot = result.code == XML_ERROR_NONE || result.code == XML_WARNING_UNMATCHED_END_TAG ||
                    result.code == XML_WARNING_NO_XML_TAG;
  if (searchRoot) {
    uint32_t root = FindXmlRoot(document, rootTag);
    if (root == XML_NO_NODE) {
      result = {XmlElement(), XML_ERROR_FIRST_TAG_NOT_FOUND, 0, 0};
      return result;
    }
    if (result.code == XML_ERROR_NONE) {
      result.root = XmlElement(outcome.document, root);
      return result;
    }
  }
  XmlLineAndColumn(text, outcome.stopIndex, encoding, result.line, result.column);
  return result;
}

std::string XmlErrorMessage(const XmlParseResult& result, const char* path, const char* rootTag) {
  bool firstTag = result.code == XML_ERROR_FIRST_TAG_NOT_FOUND;
  const char* format = "XML Parsing error inside file '%s'.\n%s\nAt line %i, column %i.\n%s%s%s";
  const char* pathText = path ? path : "";
  const char* tagText = firstTag && rootTag ? rootTag : "";
  const char* lead = firstTag ? "First Tag should be '" : "";
  const char* tail = firstTag ? "'.\n" : "";
  int size = std::snprintf(nullptr, 0, format, pathText, XmlErrorText(result.code), result.line, result.column, lead,
                           tagText, tail);
  std::string message(size_t(size) + 1, '\0');
  std::snprintf(message.data(), message.size(), format, pathText, XmlErrorText(result.code), result.line,
                result.column, lead, tagText, tail);
  message.resize(size_t(size));
  return message;
}

XmlElement ParseDefinitionXml(const char* text, size_t length, const char* rootTag, const char* path, Alert& failure) {
  XmlParseResult result = ParseXmlText(text, length, rootTag);
  if (result.code == XML_ERROR_NONE) return result.root;
  failure = {XML_MESSAGE_CAPTION, XmlErrorMessage(result, path, rootTag), AlertIcon::Error};
  return XmlElement();
}
