#pragma once
// The texture formats of the engine's own buffers as the selected drawing path takes them:
// WebGL 2 has depth textures only in sized formats, and no GL_CLAMP wrap.

#include <GL/glew.h>

namespace render {

// The depth textures' internal format and the type their texels are given in.
GLenum DepthTextureFormat();
GLenum DepthTextureType();
GLenum ClampWrapMode();

}  // namespace render
