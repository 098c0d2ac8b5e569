#include "resources/post_effect_xml.h"

#include "files/xml_writing.h"

namespace resources {

namespace {

std::string Attribute(const char* name, const std::string& value) { return XmlAttributeText(name, value); }

std::string SourceType(const PostEffectSource& source) {
  return source.kind == POST_EFFECT_COLOR ? "color" : source.kind == POST_EFFECT_DEPTH ? "depth" : "";
}

std::string LineId(const PostEffectSource& source) {
  return (source.set == POST_EFFECT_WORK_BUFFERS ? "w" : "") + std::to_string(source.index);
}

std::string ConstantValue(const PostEffectConstant& constant) {
  std::string value;
  int count = PostEffectConstantComponents(constant.type);
  for (int i = 0; i < count; ++i) value += (i ? "," : "") + ShortestFloatText(constant.values[i]);
  return value;
}

}  // namespace

std::string PostEffectEntryXml(const PostEffectEntry& entry, int indent) {
  std::string pad(static_cast<size_t>(indent) * 2, ' ');
  std::string xml = pad + "<PostEffectEntry" + Attribute("sTime", std::to_string(entry.startTime)) +
                    Attribute("eTime", std::to_string(entry.endTime)) + Attribute("shader", entry.shader) +
                    Attribute("execPrio", std::to_string(entry.execPrio)) +
                    Attribute("execPass", std::to_string(entry.execPass)) +
                    Attribute("renderTarget", std::to_string(entry.renderTarget)) + ">\n";
  for (const PostEffectSource& source : entry.sources) {
    xml += pad + "  <SourceLineEntry" + Attribute("param", source.param) + Attribute("type", SourceType(source)) +
           Attribute("lineId", LineId(source)) + "/>\n";
  }
  for (const PostEffectConstant& constant : entry.constants) {
    xml += pad + "  <ConstantEntry" + Attribute("param", constant.param) + Attribute("type", constant.type) +
           Attribute("value", ConstantValue(constant)) +
           (constant.track.empty() ? std::string() : Attribute("track", constant.track)) + "/>\n";
  }
  return xml + pad + "</PostEffectEntry>\n";
}

}  // namespace resources
