// Effect files: parse, list the parameters, build every pass's GLSL (and its GLSL ES translation,
// with the uniforms' initial values) and read what it writes and its signature.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "render/effect/glsl_es_translation.h"
#include "render/effect/parameter_list.h"
#include "render/effect/parser.h"
#include "render/effect/pass_output.h"
#include "render/effect/pass_signature.h"
#include "render/effect/stage_source.h"
#include "render/effect/uniform_initial_values.h"

namespace {

void TranslateStage(const EffectSource& source, EffectStage stage, const std::string& entry) {
  std::string glsl;
  std::string error;
  if (!BuildStageSource(source, stage, entry, glsl, error)) return;
  std::string es;
  render::EsTranslationError problem;
  render::TranslateToGlslEs(glsl, stage, es, problem);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  EffectSource source;
  ParseEffect(std::string_view(reinterpret_cast<const char*>(data), size), source);
  std::vector<EffectParameterLeaf> leaves;
  ListEffectParameters(source, leaves);
  std::vector<render::UniformInitialValue> initialValues;
  EffectMessage problem;
  render::ReadUniformInitialValues(source, initialValues, problem);
  EffectSource esStages = source;
  render::BlankUniformInitialisers(esStages);
  for (const EffectTechnique& technique : source.techniques) {
    for (const EffectPass& pass : technique.passes) {
      std::string glsl;
      std::string error;
      BuildStageSource(source, EffectStage::Vertex, pass.vertexEntry, glsl, error);
      BuildStageSource(source, EffectStage::Fragment, pass.fragmentEntry, glsl, error);
      TranslateStage(esStages, EffectStage::Vertex, pass.vertexEntry);
      TranslateStage(esStages, EffectStage::Fragment, pass.fragmentEntry);
      ReadPassOutput(source, pass);
      PassSignature(source, pass);
    }
  }
  return 0;
}
