#pragma once
// A definition file read for checking: its text, its tree when it parses, and the line of any
// element, so that messages about an entry name the line it is written on. Reading shows nothing:
// the reader's own result is kept for the caller to report.

#include <string>

#include "files/definition_xml.h"
#include "files/xml_encoding.h"
#include "production/production_files.h"

class DefinitionDocument {
 public:
  // Reads path from files and parses it with the definition reader. rootName is what the root's
  // "name" must begin with for the player to read the entries.
  DefinitionDocument(const ProductionFiles& files, const std::string& path, const char* rootName);

  bool Exists() const { return mExists; }
  // The reader's result: its code, line and column, and the root when the text parses.
  const XmlParseResult& Result() const { return mResult; }
  // True when the player reads the entries: the text parses and the root's name fits.
  bool Readable() const { return !mResult.root.IsEmpty() && RootNameFits(); }
  bool RootNameFits() const;
  const XmlElement& Root() const { return mResult.root; }
  const char* RootName() const { return mRootName; }
  // The 1-based line of element's start tag.
  int LineOf(const XmlElement& element) const;

 private:
  bool mExists = false;
  std::string mText;
  const char* mRootName;
  XmlEncoding mEncoding = XmlEncoding::Utf8;
  XmlParseResult mResult{XmlElement(), 0, 0, 0};
};
