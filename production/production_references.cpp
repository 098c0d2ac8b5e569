#include "production/production_references.h"

#include <algorithm>
#include <set>

#include "files/mqo_model.h"
#include "files/tdf_document.h"
#include "production/definition_document.h"
#include "production/frame_effect_paths.h"
#include "production/timeline_definitions.h"
#include "resources/custom_texture_manager.h"
#include "resources/post_effect_entry.h"
#include "resources/post_effect_manager.h"
#include "resources/res_mqo.h"
#include "resources/res_shader.h"
#include "resources/resource_manager.h"

namespace {

std::string Text(const XmlElement& element, const char* attribute) {
  const char* value = element.Attribute(attribute);
  return value ? value : "";
}

void AddOnce(std::vector<std::string>& list, const std::string& item) {
  if (std::find(list.begin(), list.end(), item) == list.end()) list.push_back(item);
}

class ReferenceWalk {
 public:
  ReferenceWalk(const ProductionFiles& files, ProductionFindings& findings) : mFiles(files), mFindings(findings) {}

  ProductionReferences Walk() {
    CheckRequiredFiles();
    WalkSceneLines();
    WalkPostEffects();
    WalkCustomTextures();
    for (const std::string& tdf : mReferences.tdfPaths) WalkSceneAnimation(tdf);
    return std::move(mReferences);
  }

 private:
  // An effect or texture the player loads: noted when there, an error at file:line when not.
  bool Need(const std::string& path, const std::string& file, int line, const std::string& what) {
    if (mFiles.Has(path)) return true;
    mFindings.Error(file, line, what + " is missing");
    return false;
  }

  void CheckRequiredFiles() {
    for (const RequiredProductionFile& required : RequiredProductionFiles()) {
      if (!mFiles.Has(required.path)) {
        mFindings.Error(mFiles.Name(), 0,
                        Quoted(required.path) + " is missing; every production needs it (" + required.role + ")");
      }
    }
    for (const char* effect : {DUMMY_SHADER_PATH, DEFAULT_EFFECT_PATH, MSAA_SHADER_PATH, NULL_POST_EFFECT_PATH,
                               FINAL_SCREEN_SHADER_PATH}) {
      if (mFiles.Has(effect)) AddOnce(mReferences.effectPaths, effect);
    }
    if (mFiles.Has(DEFAULT_TEXTURE_PATH)) AddOnce(mReferences.texturePaths, DEFAULT_TEXTURE_PATH);
  }

  void WalkSceneLines() {
    DefinitionDocument lines(mFiles, SCENE_LINE_DEFINE_PATH, "sceneLineDefine");
    DefinitionDocument animations(mFiles, TDF_DEFINE_PATH, "tdfDefine");
    if (!lines.Readable()) return;
    const std::string linesFile = mFiles.DisplayName(SCENE_LINE_DEFINE_PATH);
    std::vector<std::string> usedIds;
    for (int i = 0; i < lines.Root().ChildCount("SceneLineEntry"); ++i) {
      XmlElement entry = lines.Root().Child("SceneLineEntry", i);
      const std::string id = Text(entry, "tdfId");
      const std::string shader = Text(entry, "shader");
      usedIds.push_back(id);
      if (shader != DEFAULT_SHADER_NAME) {
        const std::string path = SceneLineShaderPath(shader);
        if (Need(path, linesFile, lines.LineOf(entry), "shader " + Quoted(shader) + ": effect " + Quoted(path))) {
          AddOnce(mReferences.effectPaths, path);
        }
      }
      if (animations.Readable() && !HasTdfEntry(animations, id)) {
        mFindings.Error(linesFile, lines.LineOf(entry),
                        "tdfId " + Quoted(id) + " names no TdfEntry of " + TDF_DEFINE_PATH + "; the line stays empty");
      }
    }
    if (animations.Readable()) WalkTdfEntries(animations, usedIds);
  }

  static bool HasTdfEntry(const DefinitionDocument& animations, const std::string& id) {
    for (int i = 0; i < animations.Root().ChildCount("TdfEntry"); ++i) {
      if (Text(animations.Root().Child("TdfEntry", i), "id") == id) return true;
    }
    return false;
  }

  // Every entry a scene line uses is loaded, also one that a later entry with its id shadows.
  void WalkTdfEntries(const DefinitionDocument& animations, const std::vector<std::string>& usedIds) {
    const std::string file = mFiles.DisplayName(TDF_DEFINE_PATH);
    for (int i = 0; i < animations.Root().ChildCount("TdfEntry"); ++i) {
      XmlElement entry = animations.Root().Child("TdfEntry", i);
      const std::string id = Text(entry, "id");
      const std::string path = Text(entry, "path");
      if (std::find(usedIds.begin(), usedIds.end(), id) == usedIds.end()) continue;
      if (Need(path, file, animations.LineOf(entry),
               "scene animation " + Quoted(path) + " of TdfEntry " + Quoted(id))) {
        AddOnce(mReferences.tdfPaths, path);
      }
    }
  }

  void WalkPostEffects() {
    DefinitionDocument effects(mFiles, POST_EFFECT_DEFINE_PATH, "postEffectDefine");
    if (!effects.Readable()) return;
    const std::string file = mFiles.DisplayName(POST_EFFECT_DEFINE_PATH);
    for (int i = 0; i < effects.Root().ChildCount("PostEffectEntry"); ++i) {
      XmlElement entry = effects.Root().Child("PostEffectEntry", i);
      const char* target = entry.Attribute("renderTarget");
      const long renderTarget = target ? std::atol(target) : 0;
      // The player leaves out an entry that would draw outside the work buffers, effect and all.
      if (renderTarget < POST_EFFECT_FINAL_TARGET || renderTarget >= POST_EFFECT_BUFFER_COUNT) continue;
      const std::string shader = Text(entry, "shader");
      const std::string path = SceneLineShaderPath(shader);
      if (Need(path, file, effects.LineOf(entry), "shader " + Quoted(shader) + ": effect " + Quoted(path))) {
        AddOnce(mReferences.effectPaths, path);
      }
    }
  }

  void WalkCustomTextures() {
    DefinitionDocument textures(mFiles, CUSTOM_TEXTURE_DEFINE_PATH, "shaderTextureDefine");
    if (!textures.Readable()) return;
    const std::string file = mFiles.DisplayName(CUSTOM_TEXTURE_DEFINE_PATH);
    for (int i = 0; i < textures.Root().ChildCount("TextureEntry"); ++i) {
      XmlElement entry = textures.Root().Child("TextureEntry", i);
      const char* sampler = entry.Attribute("sampler");
      const char* path = entry.Attribute("path");
      if (!sampler || !path) continue;
      if (Need(path, file, textures.LineOf(entry), "texture " + Quoted(path) + " of sampler " + Quoted(sampler))) {
        AddTexture(path, {file, textures.LineOf(entry)});
      }
    }
  }

  void WalkSceneAnimation(const std::string& tdf) {
    std::string text;
    if (!mFiles.Read(tdf, text)) return;
    std::vector<std::string> modelPaths;
    TdfDocument document;
    document.ParseTdfText(text, [&](int32_t, const std::string& path) -> const ModelData* {
      AddOnce(modelPaths, path);
      return nullptr;
    });
    for (const std::string& path : modelPaths) {
      const std::string cache = ResourceKey(path.c_str());
      const int line = LineOfText(text, Quoted(path));
      std::string what = "model " + Quoted(path);
      if (cache != path) what += " (the player loads its cache " + Quoted(cache) + ")";
      if (!Need(cache, mFiles.DisplayName(tdf), line, what)) continue;
      if (!mVisitedModels.insert(cache).second) continue;
      mReferences.modelSources[cache] = tdf;
      WalkModel(cache);
    }
  }

  void WalkModel(const std::string& cache) {
    ProductionModel model;
    std::string error;
    if (!mFiles.ReadModel(cache, model, error)) {
      mFindings.Error(mFiles.DisplayName(cache), model.errorLine, "model " + Quoted(cache) + " does not read: " + error);
      return;
    }
    const std::string file = mFiles.DisplayName(cache);
    for (size_t m = 0; m < model.data.materials.size(); ++m) {
      const ModelMaterial& material = model.data.materials[m];
      const bool named = m < model.materialNames.size();
      const std::string name = named ? Quoted(model.materialNames[m]) : std::to_string(m);
      const int line = named ? mFiles.LineOf(cache, Quoted(model.materialNames[m])) : 0;
      if (!material.effect.empty() &&
          Need(material.effect, file, line, "material " + name + ": effect " + Quoted(material.effect))) {
        AddOnce(mReferences.effectPaths, material.effect);
      }
      for (const std::string& texture : {material.texture, material.texture2}) {
        if (!texture.empty() && Need(texture, file, line, "material " + name + ": texture " + Quoted(texture))) {
          AddTexture(texture, {file, line});
        }
      }
    }
    mReferences.models[cache] = std::move(model);
  }

  void AddTexture(const std::string& path, const NamingSite& site) {
    AddOnce(mReferences.texturePaths, path);
    mReferences.textureSites.try_emplace(path, site);
  }

  const ProductionFiles& mFiles;
  ProductionFindings& mFindings;
  ProductionReferences mReferences;
  std::set<std::string> mVisitedModels;
};

}  // namespace

const std::vector<RequiredProductionFile>& RequiredProductionFiles() {
  static const std::vector<RequiredProductionFile> files = {
      {DUMMY_SHADER_PATH, "the fallback effect"},
      {DEFAULT_EFFECT_PATH, "the effect of materials that name none"},
      {MSAA_SHADER_PATH, "the supersampling average of every scene line"},
      {NULL_POST_EFFECT_PATH, "the picture while no post-effect runs"},
      {FINAL_SCREEN_SHADER_PATH, "the final pass to the window"},
      {DEFAULT_TEXTURE_PATH, "the texture of materials that name none"},
      {SCENE_LINE_DEFINE_PATH, "the scene lines"},
      {TDF_DEFINE_PATH, "the scene animation files of the scene lines"},
      {POST_EFFECT_DEFINE_PATH, "the post-effects; an empty list will do"},
      {CUSTOM_TEXTURE_DEFINE_PATH, "the custom textures; an empty list will do"},
  };
  return files;
}

ProductionReferences FindProductionReferences(const ProductionFiles& files, ProductionFindings& findings) {
  return ReferenceWalk(files, findings).Walk();
}
