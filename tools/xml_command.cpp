// torvane-tool xml: parses a definition file as the player does and prints its tree as JSON.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "files/definition_xml.h"
#include "tools/json_writer.h"
#include "tools/tool_command.h"

namespace {

void WriteAttributes(JsonWriter& json, const XmlElement& element) {
  json.Key("attributes").BeginArray();
  for (int i = 0; i < element.AttributeCount(); ++i) {
    json.BeginArray().String(element.AttributeName(i));
    if (const char* value = element.AttributeValue(i)) {
      json.String(value);
    } else {
      json.Null();
    }
    json.EndArray();
  }
  json.EndArray();
}

// Writes the tree without recursion, so that however deep a document nests the tool cannot run
// out of stack. Each element's children are collected in one pass, in order.
void WriteTree(JsonWriter& json, const XmlElement& root) {
  struct Open {
    std::vector<XmlElement> children;
    size_t next;
  };
  std::vector<Open> open;
  auto begin = [&](const XmlElement& element) {
    json.BeginObject().Key("name").String(element.Name());
    WriteAttributes(json, element);
    json.Key("children").BeginArray();
    Open entry{{}, 0};
    for (XmlElement child = element.Element(0); !child.IsEmpty(); child = element.Element(int(entry.children.size()))) {
      entry.children.push_back(child);
    }
    open.push_back(std::move(entry));
  };
  begin(root);
  while (!open.empty()) {
    Open& top = open.back();
    if (top.next < top.children.size()) {
      begin(top.children[top.next++]);
    } else {
      json.EndArray().EndObject();
      open.pop_back();
    }
  }
}

int RunXml(const std::vector<std::string>& args) {
  ToolArgs parsed;
  std::string error;
  if (!ParseToolArgs(args, {"--root"}, {}, parsed, error)) return ToolUsageError("xml", error);
  if (parsed.positional.size() != 1) return ToolUsageError("xml", "takes one FILE");
  const std::string& path = parsed.positional[0];
  std::string root = parsed.Option("--root", DEFINITION_ROOT_TAG);
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "torvane-tool xml: cannot read %s\n", path.c_str());
    return 1;
  }
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  XmlParseResult result = ParseXmlText(text.c_str(), text.size(), root.c_str());
  if (result.root.IsEmpty()) {
    std::fputs(XmlErrorMessage(result, path.c_str(), root.c_str()).c_str(), stderr);
    return 1;
  }
  JsonWriter json;
  WriteTree(json, result.root);
  std::printf("%s\n", json.Text().c_str());
  return 0;
}

}  // namespace

TORVANE_TOOL_COMMAND(xml, "xml", "parse a definition file as the player does",
                     "usage: torvane-tool xml FILE [--root TAG]\n\n"
                     "Parses FILE with the player's definition reader, looking for the root element\n"
                     "TAG (default TRDataXml, compared without regard to case). On success prints the\n"
                     "root as JSON {\"name\", \"attributes\": [[name, value or null], ...],\n"
                     "\"children\": [...]} and exits 0; otherwise prints the text of the player's\n"
                     "\"XML Parsing error\" message box to standard error and exits 1.\n",
                     RunXml);
