#include "render/blank_texture.h"

#include <GL/glew.h>

#include "render/texture.h"
#include "render/texture_formats.h"
#include "render/texture_manager.h"

namespace {

// The sampling parameters of a screen buffer's own textures.
void SetBufferSampling(GLuint name) {
  glBindTexture(GL_TEXTURE_2D, name);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
}

}  // namespace

cTexture* CreateBlankColourTexture() {
  // Kept data starts as zeros.
  auto* texture = new cTexture(1, 1, 1, GL_RGBA8, GL_RGBA, GL_UNSIGNED_BYTE, GL_TEXTURE_2D, GL_LINEAR,
                               render::ClampWrapMode(), 1);
  texture->upload();
  texture->FreeData();
  SetBufferSampling(gTextureManager.lookupName(texture));
  glBindTexture(GL_TEXTURE_2D, 0);
  return texture;
}

cTexture* CreateBlankDepthTexture() {
  const GLenum type = render::DepthTextureType();
  auto* texture = new cTexture(1, 1, 0, render::DepthTextureFormat(), GL_DEPTH_COMPONENT, type, GL_TEXTURE_2D,
                               GL_LINEAR, render::ClampWrapMode(), 1);
  texture->upload();
  SetBufferSampling(gTextureManager.lookupName(texture));
  // Zero in either type.
  const uint32_t zero = 0;
  glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 1, 1, GL_DEPTH_COMPONENT, type, &zero);
  glBindTexture(GL_TEXTURE_2D, 0);
  return texture;
}
