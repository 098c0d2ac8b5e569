#include "files/xml_error.h"

#include <iterator>

namespace {

constexpr const char* XML_ERROR_TEXTS[] = {
    "No error",
    "Warning: Unmatched end tag",
    "Warning: No XML tag found",
    "Error: No XML data",
    "Error: Missing start tag name",
    "Error: Missing end tag name",
    "Error: Unmatched end tag",
    "Error: Unmatched clear tag end",
    "Error: Unexpected token found",
    "Error: No elements found",
    "Error: File not found",
    "Error: First Tag not found",
    "Error: Unknown character entity",
    "Error: unable to convert between WideChar and MultiByte chars",
    "Error: unable to open file for writing",
    "Error: cannot write into file",
    "Warning: Base64-string length is not a multiple of 4",
    "Error: Base64-string contains an illegal character",
    "Warning: Base64-string is truncated",
    "Error: Base64 decode output buffer is too small",
};

}  // namespace

const char* XmlErrorText(int code) {
  if (code < 0 || code >= int(std::size(XML_ERROR_TEXTS))) return "Unknown";
  return XML_ERROR_TEXTS[code];
}
