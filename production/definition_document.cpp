#include "production/definition_document.h"

#include <cstring>

#include "files/xml_parser.h"

DefinitionDocument::DefinitionDocument(const ProductionFiles& files, const std::string& path, const char* rootName)
    : mRootName(rootName) {
  mExists = files.Read(path, mText);
  if (!mExists) return;
  mResult = ParseXmlText(mText.c_str(), mText.size(), DEFINITION_ROOT_TAG);
  // The encoding the text was read in, for counting characters into columns later.
  mEncoding = CurrentXmlEncoding();
}

bool DefinitionDocument::RootNameFits() const {
  const char* name = mResult.root.Attribute("name");
  return name && std::strncmp(name, mRootName, std::strlen(mRootName)) == 0;
}

int DefinitionDocument::LineOf(const XmlElement& element) const {
  int line = 0;
  int column = 0;
  XmlLineAndColumn(mText.c_str(), element.SourceOffset(), mEncoding, line, column);
  return line;
}
