#pragma once
// The GL state that decides which pixels a draw touches and how it combines with what is there,
// as plain values: read from GL, changed by a pass's states, and asked whether a quad over the
// whole target replaces every pixel without depending on the old ones.

#include <GL/glew.h>

#include "render/effect/pass_output.h"
#include "render/effect/source.h"

struct DrawState {
  bool blend = false;
  bool alphaTest = false;
  GLenum alphaFunc = GL_ALWAYS;
  float alphaReference = 0.0f;
  bool depthTest = false;
  bool stencilTest = false;
  bool cullFace = false;
  GLenum cullFaceMode = GL_BACK;
  GLenum frontFace = GL_CCW;
  GLenum polygonMode[2] = {GL_FILL, GL_FILL};  // front, back
  bool colorMask[4] = {true, true, true, true};
};

// The state as GL has it now (needs a current context).
DrawState CurrentDrawState();

// base with the pass's state assignments applied in order.
DrawState WithPassStates(DrawState base, const EffectPass& pass);

// True when the state's alpha test, if it is on, surely lets a fragment of this alpha through.
bool PassesAlphaTest(const DrawState& state, float alpha);
// Whether a polygon mode, as a state assignment carries it, fills the polygons it draws.
bool FillsPolygons(float polygonMode);

// True when a counter-clockwise quad over the whole target, drawn in state by a pass whose
// programs write output, sets every pixel of the target to what the pass computes, whatever the
// target held: no blending, every channel written, no fragment discarded, nothing culled.
// targetHasDepth: the target has a depth buffer that an enabled depth test would consult.
bool ReplacesEveryPixel(const DrawState& state, const PassOutput& output, bool targetHasDepth);
