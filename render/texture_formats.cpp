#include "render/texture_formats.h"

#include "render/drawing_path.h"

namespace render {

GLenum DepthTextureFormat() { return OnWebGl2Path() ? GL_DEPTH_COMPONENT32F : GL_DEPTH_COMPONENT; }

GLenum ClampWrapMode() { return OnWebGl2Path() ? GL_CLAMP_TO_EDGE : GL_CLAMP; }

}  // namespace render
