// The checker's strict readers over any bytes: served as each of the four definition files and as
// the scene animation they name, beside a small model, through the reference check, the strict
// definition check and the strict scene animation check.
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

#include "files/model_cache_writer.h"
#include "production/production_references.h"
#include "tools/check/definition_check.h"
#include "tools/check/tdf_check.h"

namespace {

class MemoryFiles : public ProductionFiles {
 public:
  explicit MemoryFiles(const std::string& input) {
    for (const char* path : {"data\\definition\\sceneLineDefine.xml", "data\\definition\\tdfDefine.xml",
                             "data\\definition\\postEffectDefine.xml", "data\\definition\\customTextureDefine.xml",
                             "data\\tdf\\a.tdf"}) {
      mFiles[path] = input;
    }
    ModelData model;
    model.objects.resize(2);
    model.objects[0].name = "gem";
    model.objects[1].name = "moon";
    model.objects[1].depth = 3;
    model.materials.resize(1);
    model.materials[0].effect = "data\\shader\\a.cgfx";
    std::vector<uint8_t> cache = WriteModelCache(model);
    mFiles["data\\model\\a.bmdl"] = std::string(cache.begin(), cache.end());
  }
  std::string Name() const override { return "memory"; }
  std::vector<std::string> Names() const override {
    std::vector<std::string> names;
    for (const auto& [name, bytes] : mFiles) names.push_back(name);
    return names;
  }
  bool Has(const std::string& path) const override { return mFiles.count(path) != 0; }
  bool Read(const std::string& path, std::string& bytes) const override {
    auto found = mFiles.find(path);
    if (found == mFiles.end()) return false;
    bytes = found->second;
    return true;
  }

 private:
  std::map<std::string, std::string> mFiles;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  MemoryFiles files(input);
  ProductionFindings findings;
  ProductionReferences references = FindProductionReferences(files, findings);

  EffectFacts effect;
  effect.usable = true;
  effect.passCount = 2;
  effect.parameters.resize(2);
  effect.parameters[0].name = "strength";
  effect.parameters[1].name = "sceneTex";
  effect.parameters[1].type = EffectParameterType::Sampler2D;
  DefinitionCheckContext context;
  context.effect = [&](const std::string&) { return &effect; };
  context.loadedEffects = {&effect};
  context.musicLengthMs = 8000;
  CheckDefinitions(files, context, findings);

  const ModelData* model = references.models.empty() ? nullptr : &references.models.begin()->second.data;
  CheckSceneAnimation(input, "a.tdf", [&](const std::string&) { return model; }, findings);
  for (const ProductionFinding& finding : findings.All()) FormatFinding(finding);
  return 0;
}
