#include "tools/scene_line_entry.h"

#include <cstdlib>

namespace {

constexpr char CLOSING[] = "</TRDataXml>";

std::string NewDefinition(const char* name) {
  return std::string("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<TRDataXml name=\"") + name + "\">\n" + CLOSING + "\n";
}

// The [begin, end) of the first element named element carrying attribute="value"; npos if none.
std::pair<size_t, size_t> FindElement(const std::string& text, const std::string& element, const std::string& attribute,
                                      const std::string& value) {
  std::string open = "<" + element;
  for (size_t at = text.find(open); at != std::string::npos; at = text.find(open, at + 1)) {
    size_t end = text.find('>', at);
    if (end == std::string::npos) break;
    std::string tag = text.substr(at, end - at);
    if (tag.find(" " + attribute + "=\"" + value + "\"") != std::string::npos) return {at, end + 1};
  }
  return {std::string::npos, std::string::npos};
}

// text with the element replacing the one that carries attribute="value", or added last.
std::string WithElement(std::string text, const char* definition, const std::string& element, const std::string& attribute,
                        const std::string& value, const std::string& entry) {
  if (text.find(CLOSING) == std::string::npos) text = NewDefinition(definition);
  auto [begin, end] = FindElement(text, element, attribute, value);
  if (begin != std::string::npos) return text.replace(begin, end - begin, entry);
  return text.insert(text.rfind(CLOSING), "  " + entry + "\n");
}

bool ParseMilliseconds(const std::string& text, int64_t& value) {
  if (text.empty() || text.size() > 12) return false;
  char* end = nullptr;
  value = std::strtoll(text.c_str(), &end, 10);
  return *end == '\0' && value >= 0;
}

}  // namespace

std::string TdfEntryText(const std::string& animation) {
  return "<TdfEntry id=\"" + animation + "\" path=\"data\\tdf\\" + animation + ".tdf\"/>";
}

std::string SceneLineEntryText(const SceneLinePlacement& span) {
  return "<SceneLineEntry tdfId=\"" + span.animation + "\" line=\"" + std::to_string(span.line) + "\" sTime=\"" +
         std::to_string(span.startMs) + "\" eTime=\"" + std::to_string(span.endMs) + "\" shader=\"default\"/>";
}

std::string WithTdfEntry(const std::string& text, const std::string& animation) {
  if (FindElement(text, "TdfEntry", "id", animation).first != std::string::npos) return text;
  return WithElement(text, "tdfDefine", "TdfEntry", "id", animation, TdfEntryText(animation));
}

std::string WithSceneLineEntry(const std::string& text, const SceneLinePlacement& span) {
  return WithElement(text, "sceneLineDefine", "SceneLineEntry", "tdfId", span.animation, SceneLineEntryText(span));
}

bool ParseSpan(const std::string& text, SceneLinePlacement& span, std::string& error) {
  size_t colon = text.find(':');
  if (colon == std::string::npos || !ParseMilliseconds(text.substr(0, colon), span.startMs) ||
      !ParseMilliseconds(text.substr(colon + 1), span.endMs) || span.endMs <= span.startMs) {
    error = "--span takes STIME:ETIME, whole milliseconds with STIME before ETIME, not \"" + text + "\"";
    return false;
  }
  return true;
}
