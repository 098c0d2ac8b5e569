#include "render/display_list.h"

#include <GL/glew.h>

unsigned CompileDisplayList(const std::function<void()>& draw) {
  GLuint list = glGenLists(1);
  glNewList(list, GL_COMPILE);
  draw();
  glEndList();
  return list;
}

void CallDisplayList(unsigned list) { glCallList(list); }

void DeleteDisplayList(unsigned list) { glDeleteLists(list, 1); }
