#include "render/screen_buffer.h"

#include "render/framebuffer_object.h"
#include "render/texture.h"
#include "render/texture_formats.h"
#include "render/texture_manager.h"

CORE_IMPLEMENT_DYNAMIC(cScreenBuffer, CoreObject)

namespace {

// What drivers store per texel of the formats buffers use (depth as 32 bits).
size_t TexelBytes(GLenum internalFormat) {
  switch (internalFormat) {
    case GL_RGBA16F_ARB: return 8;
    case GL_RGBA32F_ARB: return 16;
    default: return 4;
  }
}

cTexture* CreateTexture(int width, int height, GLenum internalFormat, GLenum format, GLenum type) {
  auto* texture = new cTexture(width, height, 0, internalFormat, format, type, GL_TEXTURE_2D, GL_LINEAR,
                               render::ClampWrapMode(), 1);
  texture->upload();
  return texture;
}

}  // namespace

cScreenBuffer::cScreenBuffer(int width, int height, GLenum colourInternalFormat, GLenum colourType, uint32_t flags) {
  // Without framebuffer objects a buffer stays empty and drawing goes to the window.
  if (!render::FramebufferObjectsAvailable()) return;
  mFramebuffer = render::CreateFramebufferObject();
  if (flags & SCREEN_BUFFER_COLOR) {
    mColor = CreateTexture(width, height, colourInternalFormat, GL_RGBA, colourType);
    Attach(render::FramebufferAttachment::Colour, gTextureManager.lookupName(mColor));
  }
  if (flags & SCREEN_BUFFER_DEPTH) {
    mDepth = CreateTexture(width, height, render::DepthTextureFormat(), GL_DEPTH_COMPONENT, render::DepthTextureType());
    Attach(render::FramebufferAttachment::Depth, gTextureManager.lookupName(mDepth));
  }
}

cScreenBuffer::cScreenBuffer(int width, int height, ScreenBufferFormat format, uint32_t flags)
    : cScreenBuffer(width, height, format == ScreenBufferFormat::Rgba8 ? GL_RGBA8 : GL_RGBA16F_ARB,
                    format == ScreenBufferFormat::Rgba8 ? GL_UNSIGNED_BYTE : GL_FLOAT, flags) {}

cScreenBuffer::cScreenBuffer(cTexture* sharedColour, cTexture* sharedDepth)
    : mColor(sharedColour), mDepth(sharedDepth), mOwnsTextures(false) {}

cScreenBuffer::~cScreenBuffer() {
  if (mFramebuffer) render::DeleteFramebufferObject(mFramebuffer);
  if (!mOwnsTextures) return;
  delete mColor;
  delete mDepth;
}

size_t cScreenBuffer::OwnedBytes() const {
  if (!mOwnsTextures) return 0;
  size_t bytes = 0;
  for (const cTexture* texture : {mColor, mDepth}) {
    if (texture) bytes += static_cast<size_t>(texture->GetWidth()) * texture->GetHeight() * TexelBytes(texture->GetInternalFormat());
  }
  return bytes;
}

void cScreenBuffer::bind() {
  if (mFramebuffer) render::BindFramebufferObject(mFramebuffer);
}

void cScreenBuffer::attachDepth(GLuint name) {
  if (mFramebuffer) Attach(render::FramebufferAttachment::Depth, name);
}

void cScreenBuffer::restoreDepth() {
  if (mFramebuffer && mDepth) Attach(render::FramebufferAttachment::Depth, gTextureManager.lookupName(mDepth));
}

void cScreenBuffer::Attach(render::FramebufferAttachment attachment, GLuint name) {
  render::BindFramebufferObject(mFramebuffer);
  glBindTexture(GL_TEXTURE_2D, name);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  render::AttachTexture(attachment, name);
  glBindTexture(GL_TEXTURE_2D, 0);
  render::BindFramebufferObject(0);
}

bool FloatScreenBuffersDrawable() {
  cScreenBuffer probe(1, 1, ScreenBufferFormat::Rgba16Float, SCREEN_BUFFER_COLOR);
  if (!probe.GetFramebuffer()) return false;
  const unsigned previous = render::BoundFramebufferObject();
  probe.bind();
  const bool complete = render::FramebufferComplete();
  render::BindFramebufferObject(previous);
  return complete;
}
