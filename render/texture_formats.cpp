#include "render/texture_formats.h"

#include "render/drawing_path.h"

namespace render {

// 24 bits, the depth format every WebGL 2 has.
GLenum DepthTextureFormat() { return OnWebGl2Path() ? GL_DEPTH_COMPONENT24 : GL_DEPTH_COMPONENT; }

GLenum DepthTextureType() { return OnWebGl2Path() ? GL_UNSIGNED_INT : GL_FLOAT; }

GLenum ClampWrapMode() { return OnWebGl2Path() ? GL_CLAMP_TO_EDGE : GL_CLAMP; }

}  // namespace render
