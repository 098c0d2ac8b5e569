#include "render/effect/pass_signature.h"

#include <cstdio>

#include "render/effect/stage_source.h"
#include "render/effect/states.h"
#include "render/effect/tokenizer.h"

namespace {

void AppendTokens(const std::string& glsl, std::string& signature) {
  std::vector<EffectMessage> errors;
  for (const EffectToken& token : TokenizeEffect(glsl, errors)) {
    std::string_view word(glsl.data() + token.begin, token.end - token.begin);
    if (token.kind == EffectToken::Directive && word.starts_with("#line")) continue;
    signature.append(word);
    signature += ' ';
  }
  signature += '\n';
}

// The state's name and its exact values: two passes must agree to the last bit.
std::string StateWords(const EffectStateAssignment& state) {
  std::string words = EffectState(state.state).name;
  for (float value : state.values) {
    char number[32];
    std::snprintf(number, sizeof number, " %a", static_cast<double>(value));
    words += number;
  }
  return words;
}

void AppendVariable(const EffectVariable& variable, std::string& signature) {
  signature += variable.type + ' ' + variable.name + " : " + variable.semantic + " [" +
               std::to_string(variable.arraySize) + "]";
  for (const EffectStateAssignment& state : variable.samplerStates) signature += "; " + StateWords(state);
  signature += '\n';
}

}  // namespace

std::string PassSignature(const EffectSource& source, const EffectPass& pass) {
  std::string vertex;
  std::string fragment;
  std::string error;
  if (!BuildStageSource(source, EffectStage::Vertex, pass.vertexEntry, vertex, error) ||
      !BuildStageSource(source, EffectStage::Fragment, pass.fragmentEntry, fragment, error)) {
    return {};
  }
  std::string signature;
  AppendTokens(vertex, signature);
  AppendTokens(fragment, signature);
  for (const EffectStateAssignment& state : pass.states) signature += StateWords(state) + '\n';
  for (const EffectVariable& uniform : source.uniforms) AppendVariable(uniform, signature);
  for (const EffectStruct& type : source.structs) {
    signature += "struct " + type.name + '\n';
    for (const EffectVariable& member : type.members) AppendVariable(member, signature);
  }
  return signature;
}
