// The definition XML reader over arbitrary text, in each encoding, walking whatever tree results.
#include <cstdint>
#include <string>

#include "files/definition_xml.h"
#include "files/xml_encoding.h"

namespace {

void Walk(const XmlElement& element, int depth) {
  if (depth > 64) return;
  for (int i = 0; i < element.AttributeCount(); ++i) {
    element.Attribute(element.AttributeName(i));
    element.AttributeValue(i);
  }
  element.Runs();
  for (int i = 0; i < element.ElementCount(); ++i) {
    XmlElement child = element.Element(i);
    element.ChildCount(child.Name());
    element.Child(child.Name(), 0);
    Walk(child, depth + 1);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  // The first byte picks the encoding in force when detection gives no result.
  SetXmlEncoding(static_cast<XmlEncoding>(data[0] % 3));
  std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
  XmlParseResult result = ParseXmlText(text.c_str(), text.size(), DEFINITION_ROOT_TAG);
  XmlErrorMessage(result, "fuzz.xml", DEFINITION_ROOT_TAG);
  Walk(result.root, 0);
  return 0;
}
