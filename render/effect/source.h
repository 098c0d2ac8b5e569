#pragma once
// The parsed form of an effect file: GLSL 1.20 code with declarations that carry semantics and
// sampler states, and techniques of passes that name entry functions and render states. Plain
// data: the parser fills it from text alone, the GL side compiles and drives it.

#include <cstddef>
#include <string>
#include <vector>

// A problem found in an effect file, at a 1-based line.
struct EffectMessage {
  int line = 0;
  std::string text;
};

// One assignment in a pass or a sampler_state block: the state's index in the state table
// (render/effect_states.h) and its values, enums already turned into GL values.
struct EffectStateAssignment {
  int state = 0;
  float values[4] = {0, 0, 0, 0};
  int line = 0;
};

struct EffectPass {
  std::string name;
  std::string vertexEntry;
  std::string fragmentEntry;
  std::vector<EffectStateAssignment> states;  // in file order; a later one wins
  int line = 0;
};

struct EffectTechnique {
  std::string name;
  std::vector<EffectPass> passes;
  // Problems that rule this technique out (unknown state, missing program); others may still run.
  std::vector<EffectMessage> errors;
  int line = 0;
};

// A declarator of a uniform or of a struct member.
struct EffectVariable {
  std::string type;      // GLSL type name or struct name
  std::string name;
  std::string semantic;  // empty when none
  int arraySize = 0;     // 0: not an array
  std::vector<EffectStateAssignment> samplerStates;  // from "= sampler_state { ... }"
  // Any other "= value": the value's text, and the range of EffectSource::code from the '=' on.
  std::string initialiser;
  size_t initialiserBegin = 0;
  size_t initialiserEnd = 0;
  int line = 0;
};

struct EffectStruct {
  std::string name;
  std::vector<EffectVariable> members;
};

// A top-level piece of the GLSL code, kept as a range of EffectSource::code.
struct EffectChunk {
  enum Kind { Directive, Declaration, Attribute, Function };
  Kind kind = Declaration;
  size_t begin = 0;
  size_t end = 0;
  int line = 0;
  std::string function;                 // Function: its name
  std::vector<std::string> references;  // Function: identifiers used in it
};

struct EffectSource {
  // The file's text with everything that is not GLSL (techniques, semantics, sampler_state
  // blocks, #version) blanked out; line breaks are kept so that lines stay where they were.
  std::string code;
  std::vector<EffectChunk> chunks;
  std::vector<std::string> roots;  // functions named outside function bodies (macros, initialisers)
  std::vector<EffectStruct> structs;
  std::vector<EffectVariable> uniforms;  // in file order
  std::vector<EffectTechnique> techniques;
  std::vector<EffectMessage> errors;  // syntax errors: the file is unusable when not empty
};
