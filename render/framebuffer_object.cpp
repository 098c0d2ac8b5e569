#include "render/framebuffer_object.h"

#include <GL/glew.h>

#include "render/drawing_path.h"
#include "render/framebuffer_object_paths.h"

namespace webgl {

bool FramebufferObjectsAvailable() { return true; }

unsigned CreateFramebufferObject() {
  GLuint framebuffer = 0;
  glGenFramebuffers(1, &framebuffer);
  return framebuffer;
}

void DeleteFramebufferObject(unsigned framebuffer) {
  if (glIsFramebuffer(framebuffer)) glDeleteFramebuffers(1, &framebuffer);
}

void BindFramebufferObject(unsigned framebuffer) { glBindFramebuffer(GL_FRAMEBUFFER, framebuffer); }

unsigned BoundFramebufferObject() {
  GLint framebuffer = 0;
  glGetIntegerv(GL_FRAMEBUFFER_BINDING, &framebuffer);
  return static_cast<unsigned>(framebuffer);
}

void AttachTexture(render::FramebufferAttachment attachment, unsigned texture) {
  const GLenum point = attachment == render::FramebufferAttachment::Colour ? GL_COLOR_ATTACHMENT0 : GL_DEPTH_ATTACHMENT;
  glFramebufferTexture2D(GL_FRAMEBUFFER, point, GL_TEXTURE_2D, texture, 0);
}

bool FramebufferComplete() { return glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE; }

}  // namespace webgl

namespace render {

bool FramebufferObjectsAvailable() { return TORVANE_ON_DRAWING_PATH(FramebufferObjectsAvailable()); }

unsigned CreateFramebufferObject() { return TORVANE_ON_DRAWING_PATH(CreateFramebufferObject()); }

void DeleteFramebufferObject(unsigned framebuffer) { TORVANE_ON_DRAWING_PATH(DeleteFramebufferObject(framebuffer)); }

void BindFramebufferObject(unsigned framebuffer) { TORVANE_ON_DRAWING_PATH(BindFramebufferObject(framebuffer)); }

unsigned BoundFramebufferObject() { return TORVANE_ON_DRAWING_PATH(BoundFramebufferObject()); }

void AttachTexture(FramebufferAttachment attachment, unsigned texture) {
  TORVANE_ON_DRAWING_PATH(AttachTexture(attachment, texture));
}

bool FramebufferComplete() { return TORVANE_ON_DRAWING_PATH(FramebufferComplete()); }

}  // namespace render
