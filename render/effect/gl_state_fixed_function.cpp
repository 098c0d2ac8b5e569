#include "render/effect/gl_state_fixed_function.h"

#include <GL/glew.h>

#include "render/effect/states.h"

bool WriteFixedFunctionState(int state, const double* v) {
  switch (state) {
    case STATE_ALPHA_FUNC: glAlphaFunc(static_cast<GLenum>(v[0]), static_cast<GLclampf>(v[1])); return true;
    case STATE_POLYGON_MODE: glPolygonMode(static_cast<GLenum>(v[0]), static_cast<GLenum>(v[1])); return true;
    case STATE_POINT_SIZE: glPointSize(static_cast<GLfloat>(v[0])); return true;
    default: return false;
  }
}
