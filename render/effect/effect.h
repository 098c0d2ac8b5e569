#pragma once
// One compiled effect on the current GL context: the first technique of the file that builds on
// this GL, one program per pass, and a flat parameter table addressed by name, semantic or full
// path. Names resolve to a handle through a hash table; values are kept per parameter and reach
// a program when its pass is set (or at once, while the pass is active), so a value set at any
// time reaches the next draw. See docs/effects.md for the file format.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include <GL/glew.h>

#include "render/effect/gl_state.h"
#include "render/effect/glsl_dialect.h"
#include "render/effect/parameter_list.h"
#include "render/effect/pass_output.h"
#include "render/effect/source.h"
#include "render/effect/uniform_initial_values.h"

// State-matrix flags: the high nibble picks the matrix, the low nibble the transform.
constexpr int STATE_MATRIX_MODELVIEW = 0x10;
constexpr int STATE_MATRIX_PROJECTION = 0x20;
constexpr int STATE_MATRIX_TEXTURE = 0x40;
constexpr int STATE_MATRIX_MODELVIEW_PROJECTION = 0x80;
constexpr int STATE_MATRIX_IDENTITY = 0x1;
constexpr int STATE_MATRIX_TRANSPOSE = 0x2;
constexpr int STATE_MATRIX_INVERSE = 0x4;
constexpr int STATE_MATRIX_INVERSE_TRANSPOSE = 0x8;

class cEffect {
 public:
  cEffect() = default;
  ~cEffect();
  cEffect(const cEffect&) = delete;
  cEffect& operator=(const cEffect&) = delete;

  // Parses and builds text; fileName names it in messages. True when a technique is usable.
  // With tryEveryTechnique, techniques after the chosen one are built too (to report on them).
  bool Create(std::string_view text, const std::string& fileName, bool tryEveryTechnique = false);
  void Destroy();

  bool IsValid() const { return mTechnique >= 0; }
  const EffectSource& Source() const { return mSource; }
  // Index into Source().techniques of the technique in use, or -1.
  int TechniqueIndex() const { return mTechnique; }
  // Per technique of Source(): whether it built on this GL (false when it was not tried).
  const std::vector<bool>& TechniqueBuilt() const { return mTechniqueBuilt; }
  // Every parse, compile and link message, one "file:line: text" per line.
  const std::string& Log() const { return mLog; }
  const std::vector<EffectParameterLeaf>& Parameters() const { return mParameterInfo; }

  int passCount() const { return static_cast<int>(mPasses.size()); }
  int ActivePass() const { return mActivePass; }
  // The program of pass i (0 when out of range).
  GLuint PassProgram(int pass) const;
  // Pass i as the file gives it, and what its programs are known to write (null / nothing known
  // when out of range).
  const EffectPass* PassSource(int pass) const;
  const PassOutput& GetPassOutput(int pass) const;
  // Appends the GL texture names that pass i samples with the values its samplers hold now.
  void AppendSampledTextures(int pass, std::vector<GLuint>& names) const;

  // A handle for every parameter whose unqualified name, semantic or full path equals name;
  // -1 when none does. Resolve once, then set through the handle.
  int FindParameter(const char* name) const;

  // Sets every parameter name names, by its type: float, vec2, vec3 and vec4 take their first
  // 1 to 4 floats, mat4 16 floats in row order, samplers a GL texture name read from the first
  // 32-bit word. Other types are left alone; null or empty arguments do nothing.
  void setParameter(const char* name, const void* values) { setParameter(FindParameter(name), values); }
  void setParameter(int handle, const void* values);

  // Sets the mat4 parameters name names to a fixed-function matrix read from GL now
  // (STATE_MATRIX_* flags; an unknown matrix nibble means model-view, an unknown transform none).
  void setStateMatrix(const char* name, int flags) { setStateMatrix(FindParameter(name), flags); }
  void setStateMatrix(int handle, int flags);

  // Binds pass i's program, textures and render states; resetPassState(i) puts back what
  // setPassState(i) replaced. Setting the active pass again re-applies it; setting another pass
  // resets the active one first. Out-of-range or inactive passes are ignored.
  void setPassState(int pass);
  void resetPassState(int pass);

 private:
  struct Leaf {
    EffectParameterType type = EffectParameterType::Other;
    GLenum target = 0;
    float value[16] = {};
    GLuint texture = 0;
    uint32_t serial = 0;
    const std::vector<EffectStateAssignment>* samplerStates = nullptr;
  };

 public:
  // Every parameter's value, to be put back after values were set only to see what a pass would
  // sample.
  struct ParameterValues {
    const cEffect* owner = nullptr;
    std::vector<Leaf> leaves;
  };
  ParameterValues SaveParameterValues() const { return {this, mLeaves}; }
  // Puts back values saved from this effect; values from another effect are ignored.
  void RestoreParameterValues(const ParameterValues& values);

 private:
  struct Slot {
    GLint location = -1;
    GLint unit = -1;
    uint32_t uploaded = 0;
  };
  struct Pass {
    GLuint program = 0;
    const EffectPass* source = nullptr;
    PassOutput output;
    std::vector<Slot> slots;    // one per leaf
    std::vector<int> samplers;  // leaves this pass samples
  };
  struct Group {
    std::string key;
    uint32_t hash = 0;
    uint32_t first = 0;  // its leaves are mGroupLeaves[first, first + count)
    uint32_t count = 0;
  };
  // Callers pass the same name pointers draw after draw: a small table keyed by the pointer, with
  // a copy of the text to check against (buffers get reused for other names), skips hashing.
  static constexpr int NAME_CACHE_BITS = 8;
  static constexpr int NAME_CACHE_SIZE = 1 << NAME_CACHE_BITS;
  static constexpr size_t NAME_CACHE_TEXT = 32;
  struct CachedName {
    const char* pointer = nullptr;
    char text[NAME_CACHE_TEXT] = {};
    int group = -1;
  };

  // stages: what the stages are built from (mSource, or its copy without uniform initialisers).
  bool BuildTechnique(const EffectSource& stages, const EffectTechnique& technique, const std::string& fileName,
                      std::vector<GLuint>& programs);
  GLuint BuildPassProgram(const EffectSource& stages, const EffectPass& pass, const std::string& fileName,
                          std::string& log) const;
  bool AssignSamplerUnits(Pass& pass, const std::string& fileName, const EffectTechnique& technique);
  void BuildParameters(const std::vector<GLuint>& programs);
  void BuildNameTable();
  int LookUp(const char* name) const;
  void Set(int handle, const void* values, bool matricesOnly);
  void Upload(Leaf& leaf, Slot& slot);

  EffectSource mSource;
  render::GlslDialect mDialect = render::GlslDialect::Glsl120;
  std::vector<render::UniformInitialValue> mInitialValues;  // GLSL ES only
  std::string mLog;
  int mTechnique = -1;
  std::vector<bool> mTechniqueBuilt;
  std::vector<EffectParameterLeaf> mParameterInfo;
  std::vector<Leaf> mLeaves;
  std::vector<Pass> mPasses;
  std::vector<Group> mGroups;
  std::vector<int> mGroupLeaves;
  std::vector<int> mBuckets;  // open addressing into mGroups, -1 where empty
  mutable CachedName mNameCache[NAME_CACHE_SIZE];
  uint32_t mSerial = 0;
  int mActivePass = -1;
  GLint mPreviousProgram = 0;
  std::vector<EffectSavedState> mSavedStates;
};
