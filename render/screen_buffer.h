#pragma once
// cScreenBuffer: an off-screen render target, one framebuffer object with an optional colour
// texture and an optional depth texture that effects sample afterwards. Owned by the frame
// composition; contents persist from frame to frame. Needs a current GL context.

#include <cstddef>
#include <cstdint>

#include <GL/glew.h>

#include "core/runtime_class.h"
#include "render/framebuffer_object.h"

class cTexture;

// Attachment flags of the constructor.
constexpr uint32_t SCREEN_BUFFER_COLOR = 1;
constexpr uint32_t SCREEN_BUFFER_DEPTH = 2;

// How a buffer stores colour: 8 bits per channel, or 16-bit floating point.
enum class ScreenBufferFormat { Rgba8, Rgba16Float };

// Whether a 16-bit floating-point colour buffer can be drawn into here (WebGL 2 needs the
// EXT_color_buffer_float extension enabled for it); needs a current context.
bool FloatScreenBuffersDrawable();

class cScreenBuffer : public CoreObject {
  CORE_DECLARE_DYNAMIC(cScreenBuffer)
  // An empty buffer: no framebuffer, no textures; bind() draws to the window.
  cScreenBuffer() = default;
  // A width × height target with the textures flags asks for: colour in colourInternalFormat /
  // colourType, depth as GL_DEPTH_COMPONENT floats; both clamp to the edge and filter linearly.
  cScreenBuffer(int width, int height, GLenum colourInternalFormat, GLenum colourType, uint32_t flags);
  cScreenBuffer(int width, int height, ScreenBufferFormat format, uint32_t flags);
  // A stand-in for a buffer that nothing draws into: no framebuffer, and it samples as the shared
  // textures given (not owned), as a buffer that was never drawn into would.
  cScreenBuffer(cTexture* sharedColour, cTexture* sharedDepth);
  // Deletes the framebuffer and the textures it owns.
  ~cScreenBuffer() override;
  cScreenBuffer(const cScreenBuffer&) = delete;
  cScreenBuffer& operator=(const cScreenBuffer&) = delete;

  // Makes this the draw target; binding framebuffer 0 goes back to the window.
  void bind();
  // Renders depth into the GL texture name instead of this buffer's own depth texture.
  void attachDepth(GLuint name);
  // Renders depth into this buffer's own depth texture again.
  void restoreDepth();

  GLuint GetFramebuffer() const { return mFramebuffer; }
  cTexture* GetColor() const { return mColor; }
  cTexture* GetDepth() const { return mDepth; }
  // Bytes of GL storage in the textures this buffer owns, by their sizes and formats.
  size_t OwnedBytes() const;

 private:
  // Binds the framebuffer, attaches name at attachment with the buffer's sampling parameters,
  // and binds framebuffer 0.
  void Attach(render::FramebufferAttachment attachment, GLuint name);

  GLuint mFramebuffer = 0;
  cTexture* mColor = nullptr;
  cTexture* mDepth = nullptr;
  bool mOwnsTextures = true;
};
