#include "content/showcase/generators/definitions.h"

#include <cstdio>

#include "content/showcase/generators/number_text.h"
#include "resources/post_effect_xml.h"

namespace {

const char XML_HEAD[] = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n";

std::string ConstantType(size_t count) { return count == 1 ? "float" : "float" + std::to_string(count); }

PostEffectEntry EntryOf(const PostEffectDefinition& definition) {
  PostEffectEntry entry;
  entry.startTime = definition.start;
  entry.endTime = definition.end;
  entry.shader = definition.shader;
  entry.execPrio = definition.priority;
  entry.execPass = definition.pass;
  entry.renderTarget = definition.target;
  entry.constants = definition.constants;
  entry.sources = definition.sources;
  return entry;
}

}  // namespace

PostEffectConstant PostEffectConstantOf(const std::string& param, const std::vector<double>& values) {
  std::string text;
  for (double value : values) text += (text.empty() ? "" : ",") + NumberText(value);
  return ReadPostEffectConstant(param.c_str(), ConstantType(values.size()).c_str(), text.c_str());
}

PostEffectSource PostEffectSourceOf(const std::string& param, const std::string& type, const std::string& lineId) {
  return ReadPostEffectSource(param.c_str(), type.c_str(), lineId.c_str());
}

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
    out += resources::PostEffectEntryXml(EntryOf(entry));
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
