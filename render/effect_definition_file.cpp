#include "render/effect_definition_file.h"

#include <cstring>
#include <string>

#include "files/definition_xml.h"
#include "files/entry_text.h"

XmlElement OpenDefinitionRoot(const char* path, const char* name) {
  const std::string text = ReadEntryText(path);
  XmlElement root = ParseDefinitionXml(text.c_str(), text.size(), DEFINITION_ROOT_TAG, path);
  if (root.IsEmpty()) return root;
  const char* rootName = root.Attribute("name");
  if (!rootName || std::strncmp(rootName, name, std::strlen(name)) != 0) return XmlElement();
  return root;
}
