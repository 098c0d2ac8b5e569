#include "resources/effect_definition_file.h"

#include <cstring>
#include <string>

#include "core/log.h"
#include "files/definition_xml.h"
#include "files/entry_text.h"

XmlElement OpenDefinitionRoot(const char* path, const char* name) {
  const std::string text = ReadEntryText(path);
  Alert failure;
  XmlElement root = ParseDefinitionXml(text.c_str(), text.size(), DEFINITION_ROOT_TAG, path, failure);
  if (root.IsEmpty()) {
    RaiseAlert("definition", failure);
    return root;
  }
  const char* rootName = root.Attribute("name");
  if (!rootName || std::strncmp(rootName, name, std::strlen(name)) != 0) {
    Log(LogLevel::Warning, "definition", "%s: the root's \"name\" should begin with \"%s\"; nothing is read", path, name);
    return XmlElement();
  }
  return root;
}
