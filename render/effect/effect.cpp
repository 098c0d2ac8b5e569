#include "render/effect/effect.h"

#include <cstring>
#include <unordered_map>

#include "render/effect/es_fixed_state.h"
#include "render/effect/glsl_es_translation.h"
#include "render/effect/matrix.h"
#include "render/effect/parser.h"
#include "render/effect/program.h"
#include "render/effect/stage_source.h"

namespace {

uint32_t HashName(const char* name, size_t& length) {
  uint32_t hash = 2166136261u;
  const char* p = name;
  for (; *p; ++p) {
    hash ^= static_cast<uint8_t>(*p);
    hash *= 16777619u;
  }
  length = static_cast<size_t>(p - name);
  return hash;
}

GLenum TextureTarget(EffectParameterType type) {
  switch (type) {
    case EffectParameterType::Sampler1D: return GL_TEXTURE_1D;
    case EffectParameterType::Sampler2D: return GL_TEXTURE_2D;
    case EffectParameterType::Sampler3D: return GL_TEXTURE_3D;
    case EffectParameterType::SamplerCube: return GL_TEXTURE_CUBE_MAP;
    default: return 0;
  }
}

// Plain loops: the names are short, and a library call costs more than the comparison.
bool SameText(const char* a, const char* b) {
  while (*a && *a == *b) {
    ++a;
    ++b;
  }
  return *a == *b;
}

// Copies count floats (1, 2, 3, 4 or 16) with fixed sizes, which compile to plain moves.
void CopyFloats(float* to, const void* from, int count) {
  switch (count) {
    case 16: std::memcpy(to, from, 16 * sizeof(float)); break;
    case 4: std::memcpy(to, from, 4 * sizeof(float)); break;
    case 3: std::memcpy(to, from, 3 * sizeof(float)); break;
    case 2: std::memcpy(to, from, 2 * sizeof(float)); break;
    default: std::memcpy(to, from, sizeof(float)); break;
  }
}

int FloatCount(EffectParameterType type) {
  switch (type) {
    case EffectParameterType::Float: return 1;
    case EffectParameterType::Float2: return 2;
    case EffectParameterType::Float3: return 3;
    case EffectParameterType::Float4: return 4;
    case EffectParameterType::Float4x4: return 16;
    default: return 0;
  }
}

// A state matrix from the matrices the WebGL 2 path keeps; the texture matrix is always identity there.
void EsStateMatrix(int which, float* matrix) {
  const render::EsFixedState& state = render::CurrentEsFixedState();
  if (which == STATE_MATRIX_MODELVIEW_PROJECTION) {
    MultiplyMatrix(state.projection, state.modelView, matrix);
  } else if (which == STATE_MATRIX_TEXTURE) {
    for (int i = 0; i < 16; ++i) matrix[i] = i % 5 == 0 ? 1.0f : 0.0f;
  } else {
    std::memcpy(matrix, which == STATE_MATRIX_PROJECTION ? state.projection : state.modelView, 16 * sizeof(float));
  }
}

void AppendMessage(std::string& log, const std::string& fileName, int line, const std::string& text) {
  log += fileName + ":" + std::to_string(line) + ": " + text + "\n";
}

}  // namespace

cEffect::~cEffect() { Destroy(); }

void cEffect::Destroy() {
  if (mActivePass >= 0) resetPassState(mActivePass);
  for (const Pass& pass : mPasses) {
    render::ForgetEsProgram(pass.program);
    glDeleteProgram(pass.program);
  }
  mSource = EffectSource{};
  mInitialValues.clear();
  mLog.clear();
  mTechnique = -1;
  mTechniqueBuilt.clear();
  mParameterInfo.clear();
  mLeaves.clear();
  mPasses.clear();
  mGroups.clear();
  mGroupLeaves.clear();
  mBuckets.clear();
  for (CachedName& cached : mNameCache) cached = CachedName{};
}

bool cEffect::Create(std::string_view text, const std::string& fileName, bool tryEveryTechnique) {
  Destroy();
  mDialect = render::SelectedGlslDialect();
  const bool es = mDialect == render::GlslDialect::GlslEs300;
  const bool parsed = ParseEffect(text, mSource);
  for (const EffectMessage& message : mSource.errors) AppendMessage(mLog, fileName, message.line, message.text);
  EffectSource esStages;
  EffectMessage initialValueProblem;
  if (parsed && es) {
    esStages = mSource;
    render::BlankUniformInitialisers(esStages);
  }
  if (parsed && !ListEffectParameters(mSource, mParameterInfo)) {
    AppendMessage(mLog, fileName, 1, "more than " + std::to_string(MAX_EFFECT_PARAMETERS) + " parameters");
  } else if (parsed && es && !render::ReadUniformInitialValues(mSource, mInitialValues, initialValueProblem)) {
    AppendMessage(mLog, fileName, initialValueProblem.line, initialValueProblem.text);
  } else if (parsed) {
    mTechniqueBuilt.assign(mSource.techniques.size(), false);
    if (mSource.techniques.empty()) AppendMessage(mLog, fileName, 1, "no technique");
    std::vector<GLuint> chosen;
    for (size_t t = 0; t < mSource.techniques.size(); ++t) {
      if (mTechnique >= 0 && !tryEveryTechnique) break;
      std::vector<GLuint> programs;
      mTechniqueBuilt[t] = BuildTechnique(es ? esStages : mSource, mSource.techniques[t], fileName, programs);
      if (mTechniqueBuilt[t] && mTechnique < 0) {
        mTechnique = static_cast<int>(t);
        chosen = programs;
      } else {
        for (GLuint program : programs) glDeleteProgram(program);
      }
    }
    if (mTechnique >= 0) BuildParameters(chosen);
  }
  return IsValid();
}

bool cEffect::BuildTechnique(const EffectSource& stages, const EffectTechnique& technique, const std::string& fileName,
                             std::vector<GLuint>& programs) {
  const std::string heading = "technique '" + technique.name + "' cannot be used";
  if (!technique.errors.empty()) {
    AppendMessage(mLog, fileName, technique.line, heading + ": its text has " + std::to_string(technique.errors.size()) +
                                                      (technique.errors.size() == 1 ? " error" : " errors"));
    for (const EffectMessage& message : technique.errors) AppendMessage(mLog, fileName, message.line, message.text);
    return false;
  }
  for (const EffectPass& pass : technique.passes) {
    std::string compilerLog;
    const GLuint program = BuildPassProgram(stages, pass, fileName, compilerLog);
    if (!program) {
      AppendMessage(mLog, fileName, technique.line, heading + ": its pass '" + pass.name + "' does not build");
      mLog += compilerLog;
      return false;
    }
    programs.push_back(program);
  }
  return true;
}

GLuint cEffect::BuildPassProgram(const EffectSource& stages, const EffectPass& pass, const std::string& fileName,
                                 std::string& log) const {
  std::string vertex;
  std::string fragment;
  std::string error;
  if (!BuildStageSource(stages, EffectStage::Vertex, pass.vertexEntry, vertex, error) ||
      !BuildStageSource(stages, EffectStage::Fragment, pass.fragmentEntry, fragment, error)) {
    AppendMessage(log, fileName, pass.line, error);
    return 0;
  }
  const bool es = mDialect == render::GlslDialect::GlslEs300;
  if (es) {
    std::string vertexEs;
    std::string fragmentEs;
    render::EsTranslationError problem;
    if (!render::TranslateToGlslEs(vertex, EffectStage::Vertex, vertexEs, problem) ||
        !render::TranslateToGlslEs(fragment, EffectStage::Fragment, fragmentEs, problem)) {
      AppendMessage(log, fileName, problem.line, problem.text);
      return 0;
    }
    vertex = std::move(vertexEs);
    fragment = std::move(fragmentEs);
  }
  return CompileEffectProgram(vertex, fragment, fileName, log, es);
}

GLuint cEffect::PassProgram(int pass) const {
  return pass >= 0 && pass < passCount() ? mPasses[pass].program : 0;
}

const EffectPass* cEffect::PassSource(int pass) const {
  return pass >= 0 && pass < passCount() ? mPasses[pass].source : nullptr;
}

const PassOutput& cEffect::GetPassOutput(int pass) const {
  static const PassOutput NOTHING_KNOWN;
  return pass >= 0 && pass < passCount() ? mPasses[pass].output : NOTHING_KNOWN;
}

void cEffect::AppendSampledTextures(int pass, std::vector<GLuint>& names) const {
  if (pass < 0 || pass >= passCount()) return;
  for (int index : mPasses[pass].samplers) names.push_back(mLeaves[index].texture);
}

void cEffect::RestoreParameterValues(const ParameterValues& values) {
  if (values.owner == this && values.leaves.size() == mLeaves.size()) mLeaves = values.leaves;
}

void cEffect::BuildParameters(const std::vector<GLuint>& programs) {
  const EffectTechnique& technique = mSource.techniques[mTechnique];
  mLeaves.resize(mParameterInfo.size());
  for (size_t i = 0; i < mParameterInfo.size(); ++i) {
    mLeaves[i].type = mParameterInfo[i].type;
    mLeaves[i].target = TextureTarget(mParameterInfo[i].type);
    mLeaves[i].samplerStates = &mParameterInfo[i].samplerStates;
  }
  const bool es = mDialect == render::GlslDialect::GlslEs300;
  GLint previous = 0;
  glGetIntegerv(GL_CURRENT_PROGRAM, &previous);
  for (size_t p = 0; p < programs.size(); ++p) {
    Pass pass;
    pass.program = programs[p];
    pass.source = &technique.passes[p];
    pass.output = ReadPassOutput(mSource, technique.passes[p]);
    pass.slots.resize(mLeaves.size());
    glUseProgram(pass.program);
    if (es) render::SetUniformInitialValues(pass.program, mInitialValues);
    GLint unit = 0;
    for (size_t i = 0; i < mLeaves.size(); ++i) {
      Slot& slot = pass.slots[i];
      const std::string& path = mParameterInfo[i].path;
      slot.location = glGetUniformLocation(pass.program, (es ? render::GlslEsName(path) : path).c_str());
      if (slot.location < 0 || !IsSamplerType(mLeaves[i].type)) continue;
      // Every sampler gets a unit of its own: samplers of two types on one unit fail to draw.
      slot.unit = unit++;
      glUniform1i(slot.location, slot.unit);
      pass.samplers.push_back(static_cast<int>(i));
    }
    mPasses.push_back(std::move(pass));
  }
  glUseProgram(previous);
  BuildNameTable();
}

void cEffect::BuildNameTable() {
  std::unordered_map<std::string, std::vector<int>> leavesByKey;
  std::vector<std::string> keys;  // in the order they first appear
  const auto add = [&](const std::string& key, size_t leaf) {
    const auto [entry, inserted] = leavesByKey.try_emplace(key);
    if (inserted) keys.push_back(key);
    entry->second.push_back(static_cast<int>(leaf));
  };
  for (size_t i = 0; i < mParameterInfo.size(); ++i) {
    const EffectParameterLeaf& leaf = mParameterInfo[i];
    add(leaf.name, i);
    if (!leaf.semantic.empty() && leaf.semantic != leaf.name) add(leaf.semantic, i);
    if (leaf.path != leaf.name && leaf.path != leaf.semantic) add(leaf.path, i);
  }
  for (const std::string& key : keys) {
    const std::vector<int>& leaves = leavesByKey[key];
    size_t length = 0;
    mGroups.push_back({key, HashName(key.c_str(), length), static_cast<uint32_t>(mGroupLeaves.size()),
                       static_cast<uint32_t>(leaves.size())});
    mGroupLeaves.insert(mGroupLeaves.end(), leaves.begin(), leaves.end());
  }
  size_t size = 16;
  while (size < mGroups.size() * 2) size *= 2;
  mBuckets.assign(size, -1);
  for (size_t g = 0; g < mGroups.size(); ++g) {
    size_t bucket = mGroups[g].hash & (size - 1);
    while (mBuckets[bucket] >= 0) bucket = (bucket + 1) & (size - 1);
    mBuckets[bucket] = static_cast<int>(g);
  }
}

int cEffect::FindParameter(const char* name) const {
  if (!name || !*name || mBuckets.empty()) return -1;
  const uint64_t spread = static_cast<uint64_t>(reinterpret_cast<uintptr_t>(name)) * 0x9E3779B97F4A7C15ull;
  CachedName& cached = mNameCache[spread >> (64 - NAME_CACHE_BITS)];
  if (cached.pointer == name && SameText(cached.text, name)) return cached.group;
  const int group = LookUp(name);
  if (std::strlen(name) < NAME_CACHE_TEXT) {
    cached.pointer = name;
    std::strcpy(cached.text, name);
    cached.group = group;
  }
  return group;
}

int cEffect::LookUp(const char* name) const {
  size_t length = 0;
  const uint32_t hash = HashName(name, length);
  const size_t mask = mBuckets.size() - 1;
  for (size_t bucket = hash & mask;; bucket = (bucket + 1) & mask) {
    const int g = mBuckets[bucket];
    if (g < 0) return -1;
    const Group& group = mGroups[g];
    if (group.hash == hash && group.key.size() == length && std::memcmp(group.key.data(), name, length) == 0) return g;
  }
}

void cEffect::setParameter(int handle, const void* values) { Set(handle, values, false); }

void cEffect::Set(int handle, const void* values, bool matricesOnly) {
  if (handle < 0 || handle >= static_cast<int>(mGroups.size()) || !values) return;
  Pass* active = mActivePass >= 0 ? &mPasses[mActivePass] : nullptr;
  const Group& group = mGroups[handle];
  for (uint32_t g = group.first; g < group.first + group.count; ++g) {
    const int index = mGroupLeaves[g];
    Leaf& leaf = mLeaves[index];
    if (matricesOnly && leaf.type != EffectParameterType::Float4x4) continue;
    if (const int count = FloatCount(leaf.type)) {
      CopyFloats(leaf.value, values, count);
    } else if (leaf.target) {
      std::memcpy(&leaf.texture, values, sizeof(leaf.texture));
    } else {
      continue;
    }
    leaf.serial = ++mSerial;
    if (active && active->slots[index].location >= 0) Upload(leaf, active->slots[index]);
  }
}

void cEffect::Upload(Leaf& leaf, Slot& slot) {
  switch (leaf.type) {
    case EffectParameterType::Float: glUniform1fv(slot.location, 1, leaf.value); break;
    case EffectParameterType::Float2: glUniform2fv(slot.location, 1, leaf.value); break;
    case EffectParameterType::Float3: glUniform3fv(slot.location, 1, leaf.value); break;
    case EffectParameterType::Float4: glUniform4fv(slot.location, 1, leaf.value); break;
    case EffectParameterType::Float4x4: glUniformMatrix4fv(slot.location, 1, GL_TRUE, leaf.value); break;
    case EffectParameterType::Other: break;
    default:
      glActiveTexture(GL_TEXTURE0 + slot.unit);
      glBindTexture(leaf.target, leaf.texture);
      if (leaf.texture) {
        for (const EffectStateAssignment& state : *leaf.samplerStates) ApplySamplerState(leaf.target, state);
      }
      glActiveTexture(GL_TEXTURE0);
      break;
  }
  slot.uploaded = leaf.serial;
}

void cEffect::setStateMatrix(int handle, int flags) {
  if (handle < 0) return;
  float matrix[16];
  const int which = flags & 0xF0;
  if (mDialect == render::GlslDialect::GlslEs300) {
    EsStateMatrix(which, matrix);
  } else if (which == STATE_MATRIX_MODELVIEW_PROJECTION) {
    float projection[16];
    float modelView[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    glGetFloatv(GL_MODELVIEW_MATRIX, modelView);
    MultiplyMatrix(projection, modelView, matrix);
  } else {
    glGetFloatv(which == STATE_MATRIX_PROJECTION ? GL_PROJECTION_MATRIX
                : which == STATE_MATRIX_TEXTURE  ? GL_TEXTURE_MATRIX
                                                 : GL_MODELVIEW_MATRIX,
                matrix);
  }
  float transformed[16];
  std::memcpy(transformed, matrix, sizeof(matrix));
  switch (flags & 0x0F) {
    case STATE_MATRIX_TRANSPOSE: TransposeMatrix(matrix, transformed); break;
    case STATE_MATRIX_INVERSE: InvertMatrix(matrix, transformed); break;
    case STATE_MATRIX_INVERSE_TRANSPOSE:
      if (InvertMatrix(matrix, matrix)) TransposeMatrix(matrix, transformed);
      break;
    default: break;
  }
  // GL hands out columns; parameters take rows.
  float rows[16];
  TransposeMatrix(transformed, rows);
  Set(handle, rows, true);
}

void cEffect::setPassState(int pass) {
  if (pass < 0 || pass >= passCount()) return;
  Pass& target = mPasses[pass];
  const bool reapply = mActivePass == pass;
  if (!reapply) {
    if (mActivePass >= 0) resetPassState(mActivePass);
    glGetIntegerv(GL_CURRENT_PROGRAM, &mPreviousProgram);
    glUseProgram(target.program);
  }
  for (const EffectStateAssignment& state : target.source->states) {
    ApplyEffectState(state, reapply ? nullptr : &mSavedStates);
  }
  for (size_t i = 0; i < mLeaves.size(); ++i) {
    Slot& slot = target.slots[i];
    if (slot.location >= 0 && (slot.uploaded != mLeaves[i].serial || slot.unit >= 0)) Upload(mLeaves[i], slot);
  }
  mActivePass = pass;
}

void cEffect::resetPassState(int pass) {
  if (pass < 0 || pass != mActivePass) return;
  const Pass& target = mPasses[pass];
  RestoreEffectStates(mSavedStates);
  for (int index : target.samplers) {
    glActiveTexture(GL_TEXTURE0 + target.slots[index].unit);
    glBindTexture(mLeaves[index].target, 0);
  }
  glActiveTexture(GL_TEXTURE0);
  glUseProgram(mPreviousProgram);
  mActivePass = -1;
}
