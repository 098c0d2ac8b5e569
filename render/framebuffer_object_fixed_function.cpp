#include <GL/glew.h>

#include "render/framebuffer_object_paths.h"

namespace fixed_function {

bool FramebufferObjectsAvailable() {
  return glGenFramebuffersEXT && glBindFramebufferEXT && glFramebufferTexture2DEXT;
}

unsigned CreateFramebufferObject() {
  GLuint framebuffer = 0;
  glGenFramebuffersEXT(1, &framebuffer);
  return framebuffer;
}

void DeleteFramebufferObject(unsigned framebuffer) {
  if (glIsFramebufferEXT(framebuffer)) glDeleteFramebuffersEXT(1, &framebuffer);
}

void BindFramebufferObject(unsigned framebuffer) {
  if (glBindFramebufferEXT) glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, framebuffer);
}

unsigned BoundFramebufferObject() {
  GLint framebuffer = 0;
  if (GLEW_EXT_framebuffer_object) glGetIntegerv(GL_FRAMEBUFFER_BINDING_EXT, &framebuffer);
  return static_cast<unsigned>(framebuffer);
}

void AttachTexture(render::FramebufferAttachment attachment, unsigned texture) {
  glFramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT,
                            attachment == render::FramebufferAttachment::Colour ? GL_COLOR_ATTACHMENT0_EXT
                                                                                 : GL_DEPTH_ATTACHMENT_EXT,
                            GL_TEXTURE_2D, texture, 0);
}

bool FramebufferComplete() {
  return glCheckFramebufferStatusEXT(GL_FRAMEBUFFER_EXT) == GL_FRAMEBUFFER_COMPLETE_EXT;
}

}  // namespace fixed_function
