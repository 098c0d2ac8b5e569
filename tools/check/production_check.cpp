#include "tools/check/production_check.h"

#include <strings.h>

#include <algorithm>
#include <map>
#include <set>

#include "files/core_file.h"
#include "platform/hidden_gl_context.h"
#include "production/production_references.h"
#include "resources/resource_manager.h"
#include "tools/check/content_folder_files.h"
#include "tools/check/definition_check.h"
#include "tools/check/effect_check.h"
#include "tools/check/model_check.h"
#include "tools/check/music_check.h"
#include "tools/check/sync_check.h"
#include "tools/check/tdf_check.h"

namespace {

bool HasExtension(const std::string& path, std::initializer_list<const char*> extensions) {
  const std::string extension = PathExtension(path);
  return std::any_of(extensions.begin(), extensions.end(),
                     [&](const char* wanted) { return strcasecmp(extension.c_str(), wanted) == 0; });
}

// Every file of a kind in the production, then those the references name that are not among
// them, once each.
std::vector<std::string> FilesOfKind(const ProductionFiles& files, std::initializer_list<const char*> extensions,
                                     const std::vector<std::string>& named) {
  std::vector<std::string> paths;
  for (const std::string& name : files.Names()) {
    if (HasExtension(name, extensions)) paths.push_back(name);
  }
  for (const std::string& name : named) {
    if (std::find(paths.begin(), paths.end(), name) == paths.end()) paths.push_back(name);
  }
  return paths;
}

class ProductionChecker {
 public:
  ProductionChecker(const ProductionFiles& files, const ContentFolderFiles* folder, const ProductionCheckOptions& options)
      : mFiles(files), mFolder(folder), mOptions(options) {}

  ProductionCheckResult Check() {
    ProductionFindings& findings = mResult.findings;
    mReferences = FindProductionReferences(mFiles, findings);
    CheckEffects();
    CheckMusic();
    CheckDefinitionFiles();
    CheckSceneAnimations();
    CheckModels();
    for (const std::string& texture : mReferences.texturePaths) {
      const auto site = mReferences.textureSites.find(texture);
      CheckTexture(mFiles, texture, site == mReferences.textureSites.end() ? nullptr : &site->second, findings);
    }
    mResult.textures = mReferences.texturePaths.size();
    if (mFolder) {
      for (const std::string& cache : mFolder->ReplacedCaches()) {
        findings.Warning(mFiles.DisplayName(cache), 0, Quoted(cache) + " is also converted from its source under " +
                                                           std::string(files::CONTENT_MODELS_FOLDER) + "/, which wins");
      }
    }
    mResult.findings = Sorted(findings);
    return std::move(mResult);
  }

 private:
  void CheckEffects() {
    platform::HiddenGLContext context;
    mResult.effectsCompiled = mOptions.compileEffects && context.Create(16, 16);
    if (!mResult.effectsCompiled) {
      mResult.compileNote = mOptions.compileEffects ? "no OpenGL context: " + context.Error() : "not asked to";
    }
    for (const std::string& path : FilesOfKind(mFiles, {"cgfx", "cg", "fx"}, mReferences.effectPaths)) {
      if (!mFiles.Has(path)) continue;
      mEffects[path] = CheckEffect(mFiles, path, mResult.effectsCompiled, mResult.findings);
    }
    mResult.effects = mEffects.size();
  }

  void CheckMusic() {
    MusicFacts music;
    if (!mOptions.musicPath.empty()) {
      music = CheckMusicFile(mOptions.musicPath, mResult.findings);
    } else if (mFolder) {
      music = CheckContentMusic(*mFolder, mResult.findings);
    }
    mResult.musicLengthMs = music.lengthMs;
    mResult.musicSource = music.source;
  }

  void CheckDefinitionFiles() {
    DefinitionCheckContext context;
    context.effect = [this](const std::string& path) -> const EffectFacts* {
      auto found = mEffects.find(path);
      return found == mEffects.end() ? nullptr : &found->second;
    };
    for (const std::string& path : mReferences.effectPaths) {
      if (const EffectFacts* effect = context.effect(path)) context.loadedEffects.push_back(effect);
    }
    context.musicLengthMs = mResult.musicLengthMs;
    CheckDefinitions(mFiles, context, mResult.findings);
    CheckSyncTracks(mFiles, mResult.findings);
  }

  const ModelData* ModelAt(const std::string& path) {
    const std::string cache = ResourceKey(path.c_str());
    if (auto known = mReferences.models.find(cache); known != mReferences.models.end()) return &known->second.data;
    if (!mFiles.Has(cache) || mUnreadModels.count(cache)) return nullptr;
    auto [entry, added] = mOtherModels.try_emplace(cache);
    std::string error;
    if (added && !mFiles.ReadModel(cache, entry->second, error)) {
      mUnreadModels.insert(cache);
      return nullptr;
    }
    return &entry->second.data;
  }

  void CheckSceneAnimations() {
    for (const std::string& path : FilesOfKind(mFiles, {"tdf"}, mReferences.tdfPaths)) {
      std::string text;
      if (!mFiles.Read(path, text)) continue;
      const std::string file = mFiles.DisplayName(path);
      ++mResult.sceneAnimations;
      const bool played = std::find(mReferences.tdfPaths.begin(), mReferences.tdfPaths.end(), path) != mReferences.tdfPaths.end();
      if (!played) mResult.findings.Warning(file, 0, "no scene line plays " + Quoted(path));
      CheckSceneAnimation(text, file, [this](const std::string& model) { return ModelAt(model); }, mResult.findings);
    }
  }

  void CheckModels() {
    for (const std::string& cache : FilesOfKind(mFiles, {"bmdl"}, {})) {
      ++mResult.models;
      if (auto used = mReferences.models.find(cache); used != mReferences.models.end()) {
        CheckModel(cache, used->second);
        continue;
      }
      // The reference check has reported a model it loads that does not read.
      if (mReferences.modelSources.count(cache)) continue;
      ProductionModel model;
      std::string error;
      if (!mFiles.ReadModel(cache, model, error)) {
        mResult.findings.Error(mFiles.DisplayName(cache), model.errorLine, "model " + Quoted(cache) + " does not read: " + error);
      } else {
        CheckModel(cache, model);
      }
    }
  }

  void CheckModel(const std::string& cache, const ProductionModel& model) {
    CheckModelNesting(mFiles, cache, model, mResult.findings);
    for (const ModelSourceNote& note : model.sourceWarnings) {
      mResult.findings.Warning(mFiles.DisplayName(cache), note.line, note.text);
    }
  }

  // Likely causes first, then by file and line, errors before warnings on a line, keeping the
  // order of the checks otherwise; the same finding once.
  static ProductionFindings Sorted(const ProductionFindings& findings) {
    std::vector<ProductionFinding> all = findings.All();
    std::stable_sort(all.begin(), all.end(), [](const ProductionFinding& a, const ProductionFinding& b) {
      if (a.likelyCause != b.likelyCause) return a.likelyCause;
      if (a.file != b.file) return a.file < b.file;
      if (a.line != b.line) return a.line < b.line;
      return a.severity == FindingSeverity::Error && b.severity != FindingSeverity::Error;
    });
    ProductionFindings sorted;
    std::set<std::string> seen;
    for (const ProductionFinding& finding : all) {
      if (seen.insert(FormatFinding(finding)).second) sorted.Add(finding);
    }
    return sorted;
  }

  const ProductionFiles& mFiles;
  const ContentFolderFiles* mFolder;
  const ProductionCheckOptions& mOptions;
  ProductionCheckResult mResult;
  ProductionReferences mReferences;
  std::map<std::string, EffectFacts> mEffects;
  std::map<std::string, ProductionModel> mOtherModels;
  std::set<std::string> mUnreadModels;
};

std::string Count(size_t count, const char* one, const char* many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

}  // namespace

ProductionCheckResult CheckProduction(const ProductionFiles& files, const ContentFolderFiles* folder,
                                      const ProductionCheckOptions& options) {
  return ProductionChecker(files, folder, options).Check();
}

std::string DescribeCheck(const ProductionFiles& files, const ProductionCheckResult& result) {
  const ProductionFindings& findings = result.findings;
  std::string text = Count(size_t(findings.Count(FindingSeverity::Error)), "error", "errors") + ", " +
                     Count(size_t(findings.Count(FindingSeverity::Warning)), "warning", "warnings") + " in " + files.Name() +
                     " (" + Count(result.sceneAnimations, "scene animation", "scene animations") + ", " +
                     Count(result.models, "model", "models") + ", " + Count(result.textures, "texture", "textures") + ", " +
                     Count(result.effects, "effect", "effects") + (result.effectsCompiled ? " compiled" : " parsed") + "; ";
  if (result.musicLengthMs) {
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%.3f", *result.musicLengthMs / 1000.0);
    text += std::string("music ") + seconds + " s from " + result.musicSource + ")";
  } else {
    text += "no music checked)";
  }
  if (!result.effectsCompiled) text += "\neffects were parsed but not compiled (" + result.compileNote + ")";
  return text;
}
