#include "render/texture_manager.h"

#include "render/drawing_path.h"
#include "render/immediate_draw.h"
#include "render/immediate_draw_paths.h"
#include "render/texture.h"

CORE_IMPLEMENT_MANAGER(textureManager)

namespace {

constexpr int CUBE_FACES = 6;

void SetSamplingParameters(GLenum target, GLenum filter, GLenum wrap) {
  glTexParameteri(target, GL_TEXTURE_MAG_FILTER, static_cast<GLint>(filter));
  glTexParameteri(target, GL_TEXTURE_MIN_FILTER, static_cast<GLint>(filter));
  glTexParameteri(target, GL_TEXTURE_WRAP_S, static_cast<GLint>(wrap));
  glTexParameteri(target, GL_TEXTURE_WRAP_T, static_cast<GLint>(wrap));
}

// Level 0 of each face goes to GL; the lower levels held in the copy are stepped over because
// no filter of the system samples mipmaps. A copy shorter than the levels claim is never read
// past its end: the faces it does not cover get no data.
void UploadDxt1CubeFaces(const cTexture& texture, uint32_t levels) {
  const uint8_t* data = texture.getData();
  uint64_t offset = 0;
  for (int face = 0; face < CUBE_FACES; ++face) {
    int w = texture.GetWidth();
    int h = texture.GetHeight();
    for (uint32_t level = 0; level < levels; ++level) {
      uint32_t size = Dxt1ImageSize(w, h);
      if (level == 0) {
        bool held = data && offset + size <= texture.getDataSize();
        glCompressedTexImage2D(GL_TEXTURE_CUBE_MAP_POSITIVE_X + face, 0, GL_COMPRESSED_RGB_S3TC_DXT1_EXT, w, h, 0,
                               static_cast<GLsizei>(size), held ? data + offset : nullptr);
      }
      offset += size;
      w = w > 1 ? w / 2 : 1;
      h = h > 1 ? h / 2 : 1;
    }
  }
}

// Bytes per pixel of uncompressed pixel data; 0 for combinations the system never holds on the CPU.
uint64_t PixelBytes(GLenum format, GLenum type) {
  uint64_t components = 0;
  switch (format) {
    case GL_RGBA: case GL_BGRA: components = 4; break;
    case GL_RGB: case GL_BGR: components = 3; break;
    case GL_LUMINANCE_ALPHA: components = 2; break;
    case GL_LUMINANCE: case GL_ALPHA: case GL_RED: case GL_DEPTH_COMPONENT: components = 1; break;
    default: return 0;
  }
  switch (type) {
    case GL_UNSIGNED_BYTE: return components;
    case GL_HALF_FLOAT_ARB: case GL_UNSIGNED_SHORT: return components * 2;
    case GL_FLOAT: case GL_UNSIGNED_INT: return components * 4;
    default: return 0;
  }
}

// The CPU copy when it holds the whole image GL will read, else null: GL must never read past it.
const void* ImageDataFor(const cTexture& texture, GLenum format, GLenum type) {
  uint64_t needed = PixelBytes(format, type) * static_cast<uint64_t>(texture.GetWidth()) *
                    static_cast<uint64_t>(texture.GetHeight());
  if (!texture.getData() || needed == 0 || texture.getDataSize() < needed) return nullptr;
  return texture.getData();
}

}  // namespace

bool textureManager::Initialize() {
  mNonPowerOfTwo = GLEW_ARB_texture_non_power_of_two;
  return true;
}

bool textureManager::Terminate() {
  SetTexturing(true);
  for (const auto& entry : mNames) glDeleteTextures(1, &entry.second);
  SetTexturing(false);
  return true;
}

GLuint textureManager::lookupName(const cTexture* texture) { return mNames[texture]; }

void textureManager::registerName(const cTexture* key, GLuint name) { mNames.insert_or_assign(key, name); }

void textureManager::RegisterCreatedName(GLuint name) { mNames.emplace(nullptr, name); }

void textureManager::ForgetName(const cTexture* key) {
  if (key) mNames.erase(key);
}

void textureManager::upload(const cTexture* texture, GLuint name, GLenum target, GLenum internalFormat,
                            GLenum format, GLenum type, uint32_t levels, GLenum wrap, GLenum filter) {
  glBindTexture(target, name);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  // The WebGL 2 path's own program modulates; there is no texture environment to set.
  TORVANE_FIXED_FUNCTION_ONLY(SetModulatingTextures());
  if (target == GL_TEXTURE_2D) {
    SetSamplingParameters(target, filter, wrap);
    glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(internalFormat), texture->GetWidth(), texture->GetHeight(), 0,
                 format, type, ImageDataFor(*texture, format, type));
  } else if (target == GL_TEXTURE_CUBE_MAP && internalFormat == GL_COMPRESSED_RGB_S3TC_DXT1_EXT && levels > 0) {
    SetSamplingParameters(target, filter, wrap);
    UploadDxt1CubeFaces(*texture, levels);
  }
  glBindTexture(target, 0);
  registerName(texture, name);
}
