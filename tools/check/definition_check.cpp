#include "tools/check/definition_check.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <map>
#include <optional>

#include "files/xml_error.h"
#include "production/definition_document.h"
#include "production/timeline_definitions.h"
#include "resources/custom_texture_manager.h"
#include "resources/post_effect_entry.h"
#include "resources/post_effect_manager.h"
#include "tools/check/nearest_name.h"
#include "tools/check/scene_line_holes.h"

namespace {

// The lines of the timeline, the entries a line can hold.
constexpr long SCENE_LINE_COUNT = 10;
constexpr size_t SCENES_PER_LINE = 32;

// Neighbouring moments of times read from a file, which may be at the ends of the range.
long MomentAfter(long t) { return t == LONG_MAX ? t : t + 1; }
long MomentBefore(long t) { return t == LONG_MIN ? t : t - 1; }

struct ElementSchema {
  const char* name;
  std::vector<const char*> attributes;
  std::vector<const char*> required;
  std::vector<ElementSchema> children;
};

const ElementSchema SCENE_LINE_SCHEMA{"SceneLineEntry", {"tdfId", "line", "sTime", "eTime", "shader"}, {"tdfId", "line", "sTime", "eTime"}, {}};
const ElementSchema TDF_ENTRY_SCHEMA{"TdfEntry", {"id", "path"}, {"id", "path"}, {}};
const ElementSchema POST_EFFECT_SCHEMA{
    "PostEffectEntry",
    {"sTime", "eTime", "shader", "execPrio", "execPass", "renderTarget"},
    {"sTime", "eTime", "execPrio", "execPass", "renderTarget"},
    {{"ConstantEntry", {"param", "type", "value", "track"}, {"param", "type", "value"}, {}},
     {"SourceLineEntry", {"param", "type", "lineId"}, {"param", "type", "lineId"}, {}}}};
const ElementSchema TEXTURE_ENTRY_SCHEMA{"TextureEntry", {"sampler", "path"}, {"sampler", "path"}, {}};

std::string Text(const XmlElement& element, const char* attribute) {
  const char* value = element.Attribute(attribute);
  return value ? value : "";
}

std::string NameList(const std::vector<const char*>& names) {
  std::string list;
  for (const char* name : names) list += (list.empty() ? "" : ", ") + Quoted(name);
  return list;
}

bool NamedIn(const std::vector<const char*>& names, const char* name) {
  return std::any_of(names.begin(), names.end(), [&](const char* known) { return XmlNamesEqual(known, name); });
}

class DefinitionChecker {
 public:
  DefinitionChecker(const ProductionFiles& files, const DefinitionCheckContext& context, ProductionFindings& findings)
      : mFiles(files), mContext(context), mFindings(findings) {}

  void Check() {
    CheckSceneLines();
    CheckTdfEntries();
    CheckPostEffects();
    CheckSceneLineHoles();
    CheckCustomTextures();
  }

 private:
  // Parses path; false (with the reason reported) when the player reads nothing of it.
  bool Open(const DefinitionDocument& document, const char* path, const ElementSchema& entry) {
    if (!document.Exists()) return false;
    mFile = mFiles.DisplayName(path);
    mDocument = &document;
    const XmlParseResult& result = document.Result();
    if (result.code == XML_ERROR_FIRST_TAG_NOT_FOUND) {
      mFindings.Error(mFile, 0, "no root element " + Quoted(DEFINITION_ROOT_TAG) +
                                    ": the player shows \"XML Parsing error\" and reads nothing of this file");
      return false;
    }
    if (result.code != XML_ERROR_NONE) {
      mFindings.Add(FindingSeverity::Error, mFile, result.line, result.column,
                    std::string(XmlErrorText(result.code)) + ": the player shows \"XML Parsing error\" and reads nothing of this file");
      return false;
    }
    if (!document.RootNameFits()) {
      const char* name = document.Root().Attribute("name");
      std::string hint = std::string(document.RootName()) == "shaderTextureDefine"
                             ? " (the root's name differs from the file's: it is \"shaderTextureDefine\")"
                             : "";
      mFindings.Error(mFile, document.LineOf(document.Root()),
                      "the root's \"name\" is " + (name ? Quoted(name) : std::string("missing")) + "; it must begin with " +
                          Quoted(document.RootName()) + ", or the player reads nothing of this file" + hint);
      return false;
    }
    CheckElements(document.Root(), {"TRDataXml", {"name"}, {"name"}, {entry}});
    return true;
  }

  int LineOf(const XmlElement& element) const { return mDocument->LineOf(element); }

  void CheckElements(const XmlElement& element, const ElementSchema& schema) {
    for (int a = 0; a < element.AttributeCount(); ++a) {
      if (!NamedIn(schema.attributes, element.AttributeName(a))) {
        const std::string meant = DidYouMean(element.AttributeName(a), {schema.attributes.begin(), schema.attributes.end()});
        mFindings.Warning(mFile, LineOf(element), "attribute " + Quoted(element.AttributeName(a)) + " of " +
                                                      Quoted(element.Name()) + " is not read" +
                                                      (meant.empty() ? " (its attributes are " + NameList(schema.attributes) + ")"
                                                                     : meant));
      }
    }
    for (const char* required : schema.required) {
      if (!element.Attribute(required)) {
        mFindings.Error(mFile, LineOf(element),
                        Quoted(element.Name()) + " has no " + Quoted(required) + ", which then reads as empty or 0");
      }
    }
    std::vector<const char*> childNames;
    for (const ElementSchema& child : schema.children) childNames.push_back(child.name);
    for (int c = 0; c < element.ElementCount(); ++c) {
      XmlElement child = element.Element(c);
      auto known = std::find_if(schema.children.begin(), schema.children.end(),
                                [&](const ElementSchema& s) { return XmlNamesEqual(s.name, child.Name()); });
      if (known != schema.children.end()) {
        CheckElements(child, *known);
      } else {
        // An error, not a warning: a misspelt entry leaves its part of the timeline silently empty.
        const std::string meant = DidYouMean(child.Name(), {childNames.begin(), childNames.end()});
        if (std::string(mDocument->RootName()) == "sceneLineDefine" && !mUnknownSceneLineElement) {
          mUnknownSceneLineElement = mFindings.Size();
        }
        mFindings.Error(mFile, LineOf(child), "element " + Quoted(child.Name()) + " in " + Quoted(element.Name()) +
                                                  " is not read: the player skips it and all it holds" +
                                                  (!meant.empty()              ? meant
                                                   : childNames.empty() ? std::string(" (it holds no elements)")
                                                                        : " (it holds " + NameList(childNames) + ")"));
      }
    }
  }

  // The attribute as the player reads it (a decimal integer, as atol does), with an error when the
  // text is not a whole number.
  long Number(const XmlElement& element, const char* attribute) {
    const char* text = element.Attribute(attribute);
    if (!text) return 0;
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text, &end, 10);
    while (*end == ' ' || *end == '\t') ++end;
    if (end == text || *end != '\0' || errno == ERANGE) {
      mFindings.Error(mFile, LineOf(element), Quoted(attribute) + " " + Quoted(text) +
                                                  " is not a whole number; the player reads " + std::to_string(value));
    }
    return value;
  }

  // --- sceneLineDefine.xml ---

  struct SceneLine {
    std::string id;
    long line = 0;
    long start = 0;
    long end = 0;
    int fileLine = 0;
  };

  void CheckSceneLines() {
    DefinitionDocument document(mFiles, SCENE_LINE_DEFINE_PATH, "sceneLineDefine");
    if (!Open(document, SCENE_LINE_DEFINE_PATH, SCENE_LINE_SCHEMA)) return;
    mSceneLinesRead = true;
    std::vector<SceneLine> lines;
    for (int i = 0; i < document.Root().ChildCount("SceneLineEntry"); ++i) {
      XmlElement element = document.Root().Child("SceneLineEntry", i);
      SceneLine line{Text(element, "tdfId"), Number(element, "line"), Number(element, "sTime"), Number(element, "eTime"),
                     LineOf(element)};
      mUsedTdfIds.push_back(line.id);
      CheckSpan(line.fileLine, "scene line " + Quoted(line.id), line.start, line.end);
      if (line.line < 0 || line.line >= SCENE_LINE_COUNT) {
        mFindings.Error(mFile, line.fileLine, "scene line " + Quoted(line.id) + " is on line " + std::to_string(line.line) +
                                                  "; lines are 0 to 9");
        continue;
      }
      CheckOverlaps(lines, line);
      lines.push_back(line);
      mSceneLineSpans.push_back({line.line, line.start, line.end, line.fileLine, line.id});
    }
    mSceneLineFile = mFile;
  }

  // The last moment drawn: the music's, or else the last that the definitions name.
  long LastMoment() const {
    if (mContext.musicLengthMs) return static_cast<long>(*mContext.musicLengthMs) - 1;
    long last = 0;
    for (const SceneLineSpan& span : mSceneLineSpans) last = std::max(last, span.end);
    for (const PostEffectSpan& span : mPostEffectSpans) last = std::max(last, span.end);
    return last;
  }

  // A hole that an unread element was probably meant to fill follows from it.
  void CheckSceneLineHoles() {
    const size_t first = mFindings.Size();
    for (const SceneLineHole& hole : FindShownSceneLineHoles(mSceneLineSpans, mPostEffectSpans, LastMoment())) {
      mFindings.Warning(mSceneLineFile, hole.before->fileLine,
                        "scene line " + std::to_string(hole.line) + " draws nothing from " + std::to_string(hole.from) +
                            " to " + std::to_string(hole.to) + " ms after " + Quoted(hole.before->id) +
                            " ends, while its picture is shown: it stands still on its last frame then");
    }
    if (mUnknownSceneLineElement && mFindings.Size() > first) mFindings.MarkCause(*mUnknownSceneLineElement, first);
  }

  // The scene lines ("0" to "9") an entry's sources read.
  static std::vector<long> SceneLinesRead(const XmlElement& entry) {
    std::vector<long> lines;
    for (int s = 0; s < entry.ChildCount("SourceLineEntry"); ++s) {
      const std::string lineId = Text(entry.Child("SourceLineEntry", s), "lineId");
      if (lineId.size() == 1 && lineId[0] >= '0' && lineId[0] <= '9') lines.push_back(lineId[0] - '0');
    }
    return lines;
  }

  void CheckSpan(int fileLine, const std::string& what, long start, long end) {
    if (start < 0 || end < 0) {
      mFindings.Error(mFile, fileLine, what + ": a negative time counts as a very large one (times are compared unsigned)");
    } else if (start > end) {
      mFindings.Error(mFile, fileLine, what + ": eTime " + std::to_string(end) + " is before sTime " +
                                           std::to_string(start) + ", so it never shows");
    }
    if (mContext.musicLengthMs && end > static_cast<long>(*mContext.musicLengthMs)) {
      mFindings.Warning(mFile, fileLine, what + ": eTime " + std::to_string(end) + " ms is past the music's end at " +
                                             std::to_string(*mContext.musicLengthMs) + " ms, where the demo ends");
    }
  }

  // The first entry of a line in file order keeps the line wherever later ones overlap it.
  void CheckOverlaps(const std::vector<SceneLine>& earlier, const SceneLine& line) {
    size_t onLine = 1;
    for (const SceneLine& other : earlier) {
      if (other.line != line.line) continue;
      ++onLine;
      const long from = std::max(other.start, line.start);
      const long to = std::min(other.end, line.end);
      if (from > to) continue;
      mFindings.Warning(mFile, line.fileLine,
                        "scene line " + Quoted(line.id) + " overlaps " + Quoted(other.id) + " (written on line " +
                            std::to_string(other.fileLine) + ") on line " + std::to_string(line.line) + " from " +
                            std::to_string(from) + " to " + std::to_string(to) + " ms; " + Quoted(other.id) +
                            ", first in the file, keeps the line then");
    }
    if (onLine > SCENES_PER_LINE) {
      mFindings.Error(mFile, line.fileLine, "scene line " + Quoted(line.id) + " is entry " + std::to_string(onLine) +
                                                " on line " + std::to_string(line.line) + "; a line holds 32");
    }
  }

  // --- tdfDefine.xml ---

  void CheckTdfEntries() {
    DefinitionDocument document(mFiles, TDF_DEFINE_PATH, "tdfDefine");
    if (!Open(document, TDF_DEFINE_PATH, TDF_ENTRY_SCHEMA)) return;
    std::map<std::string, int> seen;
    for (int i = 0; i < document.Root().ChildCount("TdfEntry"); ++i) {
      XmlElement element = document.Root().Child("TdfEntry", i);
      const std::string id = Text(element, "id");
      const int line = LineOf(element);
      if (mSceneLinesRead && std::find(mUsedTdfIds.begin(), mUsedTdfIds.end(), id) == mUsedTdfIds.end()) {
        mFindings.Warning(mFile, line, "TdfEntry " + Quoted(id) + " is used by no scene line; the player drops it");
      }
      if (seen.count(id)) {
        mFindings.Warning(mFile, seen[id], "TdfEntry " + Quoted(id) + " again on line " + std::to_string(line) +
                                               ": the scene lines play the last one");
      }
      seen[id] = line;
    }
  }

  // --- postEffectDefine.xml ---

  void CheckPostEffects() {
    DefinitionDocument document(mFiles, POST_EFFECT_DEFINE_PATH, "postEffectDefine");
    if (!Open(document, POST_EFFECT_DEFINE_PATH, POST_EFFECT_SCHEMA)) return;
    std::vector<PrioritisedEntry> priorities;
    std::vector<RunningEntry> running;
    for (int i = 0; i < document.Root().ChildCount("PostEffectEntry"); ++i) {
      XmlElement element = document.Root().Child("PostEffectEntry", i);
      const int line = LineOf(element);
      const std::string shader = Text(element, "shader");
      const std::string what = "post-effect " + Quoted(shader);
      const long target = Number(element, "renderTarget");
      const long pass = Number(element, "execPass");
      const long priority = Number(element, "execPrio");
      const long start = Number(element, "sTime");
      const long end = Number(element, "eTime");
      CheckSpan(line, what, start, end);
      if (start == end && start >= 0) {
        mFindings.Warning(mFile, line, what + ": sTime equals eTime, so its progress is 0/0 at that moment");
      }
      // Equal priorities matter only where the entries run at once.
      for (const PrioritisedEntry& other : priorities) {
        if (other.priority != priority || std::max(other.start, start) > std::min(other.end, end)) continue;
        mFindings.Warning(mFile, line, what + ": execPrio " + std::to_string(priority) + " is also on line " +
                                           std::to_string(other.line) + ", which runs at the same time; entries of " +
                                           "equal priority run in no defined order");
        break;
      }
      priorities.push_back({priority, start, end, line});
      if (target < POST_EFFECT_FINAL_TARGET || target >= POST_EFFECT_BUFFER_COUNT) {
        mFindings.Error(mFile, line, what + ": renderTarget " + std::to_string(target) +
                                         " is neither -1 (the picture) nor a work buffer 0 to 9; the player leaves the entry out");
        continue;
      }
      const EffectFacts* effect = mContext.effect(SceneLineShaderPath(shader));
      if (effect && effect->usable && pass != POST_EFFECT_ALL_PASSES && (pass < 0 || pass >= effect->passCount)) {
        mFindings.Error(mFile, line, what + ": execPass " + std::to_string(pass) + " names no pass; the effect has " +
                                         std::to_string(effect->passCount) + " (or -1 for all)");
      }
      CheckConstants(element, shader, effect);
      CheckSources(element, shader, effect);
      if (effect && start >= 0 && start <= end) {
        running.push_back({start, end, target == POST_EFFECT_FINAL_TARGET});
        mPostEffectSpans.push_back({start, end, SceneLinesRead(element)});
      }
    }
    CheckPictureIsWritten(running, document.LineOf(document.Root()));
  }

  struct PrioritisedEntry {
    long priority;
    long start;
    long end;
    int line;
  };

  struct RunningEntry {
    long start;
    long end;
    bool writesPicture;
  };

  // While entries run, the picture is whatever they write to it: when none of them does, the
  // frame shows what the picture last held. (With no entry running, scene line 0 shows.)
  void CheckPictureIsWritten(const std::vector<RunningEntry>& entries, int line) {
    std::vector<long> moments;
    for (const RunningEntry& entry : entries) {
      moments.push_back(entry.start);
      moments.push_back(MomentAfter(entry.end));
    }
    std::sort(moments.begin(), moments.end());
    for (size_t m = 0; m + 1 < moments.size(); ++m) {
      const long from = moments[m];
      const long to = MomentBefore(moments[m + 1]);
      if (from > to) continue;
      bool runs = false;
      bool writes = false;
      for (const RunningEntry& entry : entries) {
        const bool active = entry.start <= from && from <= entry.end;
        runs = runs || active;
        writes = writes || (active && entry.writesPicture);
      }
      if (runs && !writes) {
        mFindings.Warning(mFile, line, "from " + std::to_string(from) + " to " + std::to_string(to) +
                                           " ms post-effects run but none writes the picture (renderTarget -1): it stands still");
        return;
      }
    }
  }

  void CheckParameter(const XmlElement& element, const std::string& param, const std::string& shader,
                      const EffectFacts* effect, bool sampler) {
    if (!effect || !effect->usable) return;
    const EffectParameterLeaf* leaf = FindEffectParameter(*effect, param);
    if (!leaf) {
      std::vector<std::string> alike;
      for (const EffectParameterLeaf& other : effect->parameters) {
        if (IsSamplerType(other.type) == sampler) alike.push_back(other.name);
      }
      mFindings.Error(mFile, LineOf(element), "parameter " + Quoted(param) + " is not in effect " +
                                                  Quoted(SceneLineShaderPath(shader)) + "; setting it does nothing" +
                                                  DidYouMean(param, alike));
    } else if (sampler != IsSamplerType(leaf->type)) {
      mFindings.Error(mFile, LineOf(element), "parameter " + Quoted(param) + " of effect " +
                                                  Quoted(SceneLineShaderPath(shader)) + " is a " + leaf->typeName + "; " +
                                                  Quoted(element.Name()) + " sets " +
                                                  (sampler ? "a sampler" : "numbers"));
    }
  }

  void CheckConstants(const XmlElement& entry, const std::string& shader, const EffectFacts* effect) {
    for (int c = 0; c < entry.ChildCount("ConstantEntry"); ++c) {
      XmlElement constant = entry.Child("ConstantEntry", c);
      const std::string type = Text(constant, "type");
      const std::string param = Text(constant, "param");
      const int count = type == "float" ? 1 : type == "float2" ? 2 : type == "float3" ? 3 : type == "float4" ? 4 : 0;
      if (count == 0) {
        mFindings.Error(mFile, LineOf(constant), "constant " + Quoted(param) + ": type " + Quoted(type) +
                                                     " is not \"float\", \"float2\", \"float3\" or \"float4\"; nothing is set");
      } else {
        CheckConstantValue(constant, param, count);
      }
      CheckParameter(constant, param, shader, effect, false);
    }
  }

  void CheckConstantValue(const XmlElement& constant, const std::string& param, int count) {
    const std::string value = Text(constant, "value");
    int numbers = 0;
    for (size_t start = 0; start <= value.size(); ++numbers) {
      const size_t comma = std::min(value.find(',', start), value.size());
      const std::string item = value.substr(start, comma - start);
      char* end = nullptr;
      std::strtod(item.c_str(), &end);
      while (*end == ' ') ++end;
      if (item.find_first_not_of(' ') == std::string::npos || *end != '\0') {
        mFindings.Error(mFile, LineOf(constant), "constant " + Quoted(param) + ": " + Quoted(item) +
                                                     " in its value is not a number");
      }
      start = comma + 1;
    }
    if (numbers != count) {
      mFindings.Error(mFile, LineOf(constant), "constant " + Quoted(param) + " has " + std::to_string(numbers) +
                                                   (numbers == 1 ? " number" : " numbers") + " for its type's " +
                                                   std::to_string(count));
    }
  }

  void CheckSources(const XmlElement& entry, const std::string& shader, const EffectFacts* effect) {
    for (int s = 0; s < entry.ChildCount("SourceLineEntry"); ++s) {
      XmlElement source = entry.Child("SourceLineEntry", s);
      const std::string param = Text(source, "param");
      const std::string type = Text(source, "type");
      const std::string lineId = Text(source, "lineId");
      if (type != "color" && type != "depth") {
        mFindings.Error(mFile, LineOf(source), "source " + Quoted(param) + ": type " + Quoted(type) +
                                                   " is not \"color\" or \"depth\"; it binds nothing");
      }
      const bool work = !lineId.empty() && lineId[0] == 'w';
      const std::string digits = work ? lineId.substr(1) : lineId;
      const bool valid = digits.size() == 1 && digits[0] >= '0' && digits[0] <= '9';
      if (!valid) {
        mFindings.Error(mFile, LineOf(source), "source " + Quoted(param) + ": lineId " + Quoted(lineId) +
                                                   " is neither a scene line (\"0\" to \"9\") nor a work buffer (\"w0\" to \"w9\")");
      } else if (work && type == "depth") {
        mFindings.Warning(mFile, LineOf(source), "source " + Quoted(param) + ": work buffers have no depth; " +
                                                     Quoted(lineId) + " binds its colour");
      }
      CheckParameter(source, param, shader, effect, true);
    }
  }

  // --- customTextureDefine.xml ---

  void CheckCustomTextures() {
    DefinitionDocument document(mFiles, CUSTOM_TEXTURE_DEFINE_PATH, "shaderTextureDefine");
    if (!Open(document, CUSTOM_TEXTURE_DEFINE_PATH, TEXTURE_ENTRY_SCHEMA)) return;
    std::map<std::string, int> samplers;
    for (int i = 0; i < document.Root().ChildCount("TextureEntry"); ++i) {
      XmlElement element = document.Root().Child("TextureEntry", i);
      const std::string sampler = Text(element, "sampler");
      const int line = LineOf(element);
      if (sampler.empty()) continue;
      if (samplers.count(sampler)) {
        mFindings.Warning(mFile, samplers[sampler], "sampler " + Quoted(sampler) + " again on line " +
                                                        std::to_string(line) + ": the later texture wins");
      }
      samplers[sampler] = line;
      const bool declared = std::any_of(mContext.loadedEffects.begin(), mContext.loadedEffects.end(),
                                        [&](const EffectFacts* effect) {
                                          const EffectParameterLeaf* leaf = FindEffectParameter(*effect, sampler);
                                          return leaf && IsSamplerType(leaf->type);
                                        });
      if (!declared) {
        mFindings.Warning(mFile, line, "sampler " + Quoted(sampler) + " is declared by no effect the production loads; "
                                       "the texture binds to nothing");
      }
    }
  }

  const ProductionFiles& mFiles;
  const DefinitionCheckContext& mContext;
  ProductionFindings& mFindings;
  std::string mFile;
  const DefinitionDocument* mDocument = nullptr;
  std::vector<std::string> mUsedTdfIds;
  bool mSceneLinesRead = false;
  std::string mSceneLineFile;
  std::optional<size_t> mUnknownSceneLineElement;  // the index of the first finding of one
  std::vector<SceneLineSpan> mSceneLineSpans;
  std::vector<PostEffectSpan> mPostEffectSpans;
};

}  // namespace

void CheckDefinitions(const ProductionFiles& files, const DefinitionCheckContext& context, ProductionFindings& findings) {
  DefinitionChecker(files, context, findings).Check();
}
