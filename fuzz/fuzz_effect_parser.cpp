// Effect files: parse, list the parameters, build every pass's GLSL and read what it writes and
// its signature.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "render/effect/parameter_list.h"
#include "render/effect/parser.h"
#include "render/effect/pass_output.h"
#include "render/effect/pass_signature.h"
#include "render/effect/stage_source.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  EffectSource source;
  ParseEffect(std::string_view(reinterpret_cast<const char*>(data), size), source);
  std::vector<EffectParameterLeaf> leaves;
  ListEffectParameters(source, leaves);
  for (const EffectTechnique& technique : source.techniques) {
    for (const EffectPass& pass : technique.passes) {
      std::string glsl;
      std::string error;
      BuildStageSource(source, EffectStage::Vertex, pass.vertexEntry, glsl, error);
      BuildStageSource(source, EffectStage::Fragment, pass.fragmentEntry, glsl, error);
      ReadPassOutput(source, pass);
      PassSignature(source, pass);
    }
  }
  return 0;
}
