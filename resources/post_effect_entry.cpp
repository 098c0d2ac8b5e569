#include "resources/post_effect_entry.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

std::string Text(const char* value) { return value ? value : ""; }

// Decimal integer as atol reads it; a missing attribute reads as 0.
long Number(const char* value) { return value ? std::atol(value) : 0; }

}  // namespace

int PostEffectConstantComponents(const std::string& type) {
  return type == "float" ? 1 : type == "float2" ? 2 : type == "float3" ? 3 : type == "float4" ? 4 : 0;
}

PostEffectConstant ReadPostEffectConstant(const char* param, const char* type, const char* value) {
  PostEffectConstant constant;
  constant.param = Text(param);
  constant.type = Text(type);
  const int count = PostEffectConstantComponents(constant.type);
  const std::string text = Text(value);
  size_t start = 0;
  for (int i = 0; i < count; ++i) {
    if (start <= text.size()) {
      const size_t comma = text.find(',', start);
      constant.values[i] = static_cast<float>(std::atof(text.substr(start, comma - start).c_str()));
      start = comma == std::string::npos ? text.size() + 1 : comma + 1;
    }
  }
  // The last number read fills the components the type leaves out.
  for (int i = count; i > 0 && i < 4; ++i) constant.values[i] = constant.values[count - 1];
  return constant;
}

PostEffectSource ReadPostEffectSource(const char* param, const char* type, const char* lineId) {
  PostEffectSource source;
  source.param = Text(param);
  const std::string kind = Text(type);
  source.kind = kind == "color" ? POST_EFFECT_COLOR : kind == "depth" ? POST_EFFECT_DEPTH : POST_EFFECT_NO_KIND;
  const std::string id = Text(lineId);
  if (!id.empty() && id[0] == 'w') {
    source.set = POST_EFFECT_WORK_BUFFERS;
    source.index = static_cast<int32_t>(std::atol(id.c_str() + 1));
  } else {
    source.set = POST_EFFECT_LINE_BUFFERS;
    source.index = static_cast<int32_t>(std::atol(id.c_str()));
  }
  return source;
}

std::string ComponentTrackName(const std::string& track, int component) {
  static constexpr const char* SUFFIXES[4] = {"", ".y", ".z", ".w"};
  return track + SUFFIXES[component & 3];
}

void KeyedValues(const PostEffectConstant& constant, const SyncDocument& tracks, double row, float values[4]) {
  std::copy(constant.values, constant.values + 4, values);
  const int count = PostEffectConstantComponents(constant.type);
  for (int i = 0; i < count; ++i) {
    const SyncTrack* track =
        FindSyncTrack(tracks, i == 0 ? constant.track : ComponentTrackName(constant.track, i));
    if (track) values[i] = SyncTrackValue(*track, row);
  }
  for (int i = count; i > 0 && i < 4; ++i) values[i] = values[count - 1];
}

std::vector<std::string> BoundTrackNames(const std::vector<PostEffectEntry>& entries) {
  std::vector<std::string> names;
  for (const PostEffectEntry& entry : entries) {
    for (const PostEffectConstant& constant : entry.constants) {
      if (constant.track.empty()) continue;
      for (int i = 0; i < std::max(PostEffectConstantComponents(constant.type), 1); ++i) {
        std::string name = ComponentTrackName(constant.track, i);
        if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(std::move(name));
      }
    }
  }
  return names;
}

void ReadPostEffectEntries(const XmlElement& root, std::vector<PostEffectEntry>& entries, std::vector<std::string>& notes) {
  const int count = root.ChildCount("PostEffectEntry");
  for (int e = 0; e < count; ++e) {
    const XmlElement element = root.Child("PostEffectEntry", e);
    PostEffectEntry entry;
    for (int c = 0; c < element.ChildCount("ConstantEntry"); ++c) {
      const XmlElement constant = element.Child("ConstantEntry", c);
      entry.constants.push_back(
          ReadPostEffectConstant(constant.Attribute("param"), constant.Attribute("type"), constant.Attribute("value")));
      entry.constants.back().track = Text(constant.Attribute("track"));
    }
    for (int s = 0; s < element.ChildCount("SourceLineEntry"); ++s) {
      const XmlElement source = element.Child("SourceLineEntry", s);
      entry.sources.push_back(
          ReadPostEffectSource(source.Attribute("param"), source.Attribute("type"), source.Attribute("lineId")));
    }
    entry.renderTarget = static_cast<int32_t>(Number(element.Attribute("renderTarget")));
    entry.execPass = static_cast<int32_t>(Number(element.Attribute("execPass")));
    entry.execPrio = static_cast<int32_t>(Number(element.Attribute("execPrio")));
    entry.shader = Text(element.Attribute("shader"));
    entry.endTime = static_cast<uint32_t>(Number(element.Attribute("eTime")));
    entry.startTime = static_cast<uint32_t>(Number(element.Attribute("sTime")));
    if (entry.renderTarget != POST_EFFECT_FINAL_TARGET &&
        (entry.renderTarget < 0 || entry.renderTarget >= POST_EFFECT_BUFFER_COUNT)) {
      notes.push_back("PostEffectEntry " + std::to_string(e) + " (\"" + entry.shader + "\"): renderTarget " +
                      std::to_string(entry.renderTarget) + " names no work buffer; entry skipped");
      continue;
    }
    entries.push_back(std::move(entry));
  }
}

void SortPostEffectEntries(std::vector<PostEffectEntry>& entries) {
  std::sort(entries.begin(), entries.end(), [](const PostEffectEntry& a, const PostEffectEntry& b) {
    return static_cast<uint32_t>(a.execPrio) < static_cast<uint32_t>(b.execPrio);
  });
}
