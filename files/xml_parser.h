#pragma once
// The XML grammar of the definition files, parsed into an XmlDocument under an unnamed top node.
//
// Elements <name attr="value" attr='value' attr>...</name> and <name/>; declarations <?name ...?>,
// which stay open and hold what follows them up to their parent's end tag; clear runs kept
// verbatim ("<![CDATA[" to "]]>", "<!DOCTYPE" to ">", "<PRE>" to "</PRE>", "<Script>" to
// "</Script>", "<!--" to "-->"); the entities &amp; &lt; &gt; &quot; &apos; (any letter case),
// &#decimal; and &#xhex; (one byte, the low 8 bits). The text is scanned one character at a time
// in the current XmlEncoding, and ends at its length or its first zero byte.

#include <cstddef>
#include <memory>

#include "files/xml_document.h"
#include "files/xml_encoding.h"

struct XmlParseOutcome {
  std::shared_ptr<XmlDocument> document;  // null only for a null text
  int code;                               // an XmlError
  size_t stopIndex;                       // the byte where parsing stopped (for messages)
};

XmlParseOutcome ParseXmlTree(const char* text, size_t length, XmlEncoding encoding);

// The root element: the top node itself or, after a lone child with nothing else beside it has
// taken the top node's place, the first child named rootTag, descending into declarations met on
// the way. XML_NO_NODE when there is none.
uint32_t FindXmlRoot(const XmlDocument& document, const char* rootTag);

// 1-based line and column of byte index in text, counting characters of encoding.
void XmlLineAndColumn(const char* text, size_t index, XmlEncoding encoding, int& line, int& column);
