#include "tools/check/sync_check.h"

#include <algorithm>
#include <string>
#include <vector>

#include "production/definition_document.h"
#include "files/sync_document.h"
#include "resources/post_effect_entry.h"
#include "resources/post_effect_manager.h"

namespace {

struct TrackBinding {
  std::string track;
  std::string param;
  int components;
  int line;
};

std::vector<TrackBinding> ConstantBindings(const DefinitionDocument& document) {
  std::vector<TrackBinding> bindings;
  if (!document.Readable()) return bindings;
  const XmlElement& root = document.Root();
  for (int e = 0; e < root.ChildCount("PostEffectEntry"); ++e) {
    const XmlElement entry = root.Child("PostEffectEntry", e);
    for (int c = 0; c < entry.ChildCount("ConstantEntry"); ++c) {
      const XmlElement constant = entry.Child("ConstantEntry", c);
      const char* track = constant.Attribute("track");
      if (!track) continue;
      const char* param = constant.Attribute("param");
      const char* type = constant.Attribute("type");
      bindings.push_back({track, param ? param : "", PostEffectConstantComponents(type ? type : ""),
                          document.LineOf(constant)});
    }
  }
  return bindings;
}

bool Binds(const TrackBinding& binding, const std::string& name) {
  for (int i = 0; i < std::max(binding.components, 1); ++i) {
    if (ComponentTrackName(binding.track, i) == name) return true;
  }
  return false;
}

bool DefinesAny(const SyncDocument* tracks, const TrackBinding& binding) {
  if (!tracks) return false;
  return std::any_of(tracks->tracks.begin(), tracks->tracks.end(),
                     [&](const SyncTrack& track) { return Binds(binding, track.name); });
}

}  // namespace

void CheckSyncTracks(const ProductionFiles& files, ProductionFindings& findings) {
  const DefinitionDocument definitions(files, POST_EFFECT_DEFINE_PATH, "postEffectDefine");
  const std::vector<TrackBinding> bindings = ConstantBindings(definitions);
  const std::string tracksFile = files.DisplayName(SYNC_TRACKS_PATH);
  SyncDocument document;
  const SyncDocument* tracks = nullptr;
  std::string text;
  if (files.Read(SYNC_TRACKS_PATH, text)) {
    const SyncReadResult result = ReadSyncDocument(text.c_str(), text.size(), document);
    if (!result.ok) {
      findings.Error(tracksFile, 0, result.error + "; no constant is keyed");
    } else {
      tracks = &document;
      for (const SyncFinding& finding : result.findings) findings.Warning(tracksFile, finding.line, finding.text);
    }
  }
  const std::string definitionsFile = files.DisplayName(POST_EFFECT_DEFINE_PATH);
  for (const TrackBinding& binding : bindings) {
    if (DefinesAny(tracks, binding)) continue;
    findings.Warning(definitionsFile, binding.line,
                     "constant " + Quoted(binding.param) + ": no track " + Quoted(binding.track) +
                         (tracks ? " in " + std::string(SYNC_TRACKS_PATH) : " (the production has no " + std::string(SYNC_TRACKS_PATH) + ")") +
                         "; the written value stands");
  }
  if (!tracks) return;
  for (const SyncTrack& track : tracks->tracks) {
    const bool used = std::any_of(bindings.begin(), bindings.end(),
                                  [&](const TrackBinding& binding) { return Binds(binding, track.name); });
    if (!used) findings.Warning(tracksFile, track.line, "track " + Quoted(track.name) + " keys no constant");
  }
}
