#include "render/immediate_draw_paths.h"

namespace fixed_function {

unsigned CompileList(const std::function<void()>& draw) {
  GLuint list = glGenLists(1);
  glNewList(list, GL_COMPILE);
  draw();
  glEndList();
  return list;
}

void CallList(unsigned list) { glCallList(list); }

void DeleteList(unsigned list) { glDeleteLists(list, 1); }

}  // namespace fixed_function
