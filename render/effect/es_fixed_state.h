#pragma once
// What the WebGL 2 drawing path keeps of the fixed-function state itself, since that GL has none
// of it: the two matrices that draws are placed with, the alpha test, the current colour and how
// drawing without an effect is textured. The effect layer reads it for state matrices and a
// pass's alpha test; the drawing path hands it to each program just before a draw.

#include <GL/glew.h>

namespace render {

enum class EsTexturing { Off, Modulate, Replace };

struct EsFixedState {
  float modelView[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};  // columns, as GL keeps them
  float projection[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  bool alphaTest = false;
  GLenum alphaFunc = GL_ALWAYS;
  float alphaReference = 0.0f;
  float colour[4] = {1, 1, 1, 1};  // what the colour input reads where no array feeds it
  EsTexturing texturing = EsTexturing::Off;
  GLenum polygonMode[2] = {GL_FILL, GL_FILL};  // front, back: drawn as lines or points by the path  // of the texture bound to unit 0, for the drawing path's own program
};

EsFixedState& CurrentEsFixedState();

// Sets the uniforms of program that stand for the state: the translated fixed-function matrices,
// the alpha test, and the drawing path's own texturing.
void ApplyEsFixedState(GLuint program);
// Forgets what was found out about program's uniforms: it is being deleted, and its name may come back.
void ForgetEsProgram(GLuint program);

}  // namespace render
