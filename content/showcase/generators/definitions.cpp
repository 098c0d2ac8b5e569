#include "content/showcase/generators/definitions.h"

#include <cstdio>

#include "content/showcase/generators/number_text.h"

namespace {

const char XML_HEAD[] = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n";

std::string ConstantType(size_t count) { return count == 1 ? "float" : "float" + std::to_string(count); }

}  // namespace

std::string ClockText(uint32_t ms) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%u:%02u.%03u", ms / 60000, ms / 1000 % 60, ms % 1000);
  return buffer;
}

std::string WriteSceneLineDefine(const Definitions& definitions) {
  std::string out = XML_HEAD;
  out += "<!-- The showcase's timeline, written by content/showcase/generators from the shared tempo map. -->\n";
  out += "<TRDataXml name=\"sceneLineDefine\">\n";
  for (const SceneLineDefinition& line : definitions.sceneLines) {
    out += "  <!-- " + ClockText(line.start) + " to " + ClockText(line.end) + " -->\n";
    out += "  <SceneLineEntry tdfId=\"" + line.tdfId + "\" line=\"" + std::to_string(line.line) + "\" sTime=\"" +
           std::to_string(line.start) + "\" eTime=\"" + std::to_string(line.end) + "\" shader=\"" + line.shader + "\"/>\n";
  }
  out += "</TRDataXml>\n";
  return out;
}

std::string WriteTdfDefine(const Definitions& definitions) {
  std::string out = XML_HEAD;
  out += "<TRDataXml name=\"tdfDefine\">\n";
  for (const TdfDefinition& tdf : definitions.tdfs) {
    out += "  <TdfEntry id=\"" + tdf.id + "\" path=\"" + tdf.path + "\"/>\n";
  }
  out += "</TRDataXml>\n";
  return out;
}

std::string WritePostEffectDefine(const Definitions& definitions) {
  std::string out = XML_HEAD;
  out += "<TRDataXml name=\"postEffectDefine\">\n";
  for (const PostEffectDefinition& entry : definitions.postEffects) {
    if (!entry.comment.empty()) out += "  <!-- " + entry.comment + " -->\n";
    out += "  <PostEffectEntry sTime=\"" + std::to_string(entry.start) + "\" eTime=\"" + std::to_string(entry.end) +
           "\" shader=\"" + entry.shader + "\" execPrio=\"" + std::to_string(entry.priority) + "\" execPass=\"" +
           std::to_string(entry.pass) + "\" renderTarget=\"" + std::to_string(entry.target) + "\">\n";
    for (const PostEffectSource& source : entry.sources) {
      out += "    <SourceLineEntry param=\"" + source.param + "\" type=\"" + source.type + "\" lineId=\"" + source.lineId + "\"/>\n";
    }
    for (const PostEffectConstant& constant : entry.constants) {
      std::string values;
      for (double value : constant.values) values += (values.empty() ? "" : ",") + NumberText(value);
      out += "    <ConstantEntry param=\"" + constant.param + "\" type=\"" + ConstantType(constant.values.size()) +
             "\" value=\"" + values + "\"/>\n";
    }
    out += "  </PostEffectEntry>\n";
  }
  out += "</TRDataXml>\n";
  return out;
}

std::string WriteCustomTextureDefine(const Definitions& definitions) {
  std::string out = XML_HEAD;
  out += "<TRDataXml name=\"shaderTextureDefine\">\n";
  for (const CustomTextureDefinition& texture : definitions.customTextures) {
    out += "  <TextureEntry sampler=\"" + texture.sampler + "\" path=\"" + texture.path + "\"/>\n";
  }
  out += "</TRDataXml>\n";
  return out;
}
