#pragma once
// A decoded image: the pixels one decoder produced and the texture parameters it asks for.
// Decoders are pure (bytes in, ImageData out); the texture resource creates and uploads.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include <GL/glew.h>

// Largest width or height any decoder accepts; larger claims are refused before allocating.
inline constexpr int MAX_IMAGE_SIDE = 16384;
// Largest pixel count any decoder accepts (8192 x 8192, 256 MB of RGBA8).
inline constexpr long long MAX_IMAGE_PIXELS = 1LL << 26;

struct ImageData {
  int width = 0;
  int height = 0;
  GLenum internalFormat = GL_RGBA8;
  GLenum format = GL_RGBA;
  GLenum type = GL_UNSIGNED_BYTE;
  GLenum target = GL_TEXTURE_2D;
  GLenum filter = GL_NEAREST;
  GLenum wrap = GL_REPEAT;
  unsigned levels = 1;
  // True when the texture must be stored at exactly this size: these decoders cannot place their
  // rows at a wider pitch, so a texture rounded up to powers of two refuses them.
  bool exactSize = false;
  // 2D: height rows of width pixels, tightly packed (4 bytes a pixel for RGBA8, 3 for RGB8).
  // Cube map: the compressed faces with their levels, as the texture stores them.
  std::vector<uint8_t> pixels;
};

// Bytes per pixel of an uncompressed 2D image (4 for RGBA8, 3 for RGB8).
int BytesPerPixel(const ImageData& image);
bool IsCubeMap(const ImageData& image);
// The GL name of a value the decoders set ("GL_RGBA8"), its number for any other.
std::string ImageParameterName(GLenum value);

// True when width and height are both in 1..MAX_IMAGE_SIDE and their product within MAX_IMAGE_PIXELS.
bool ImageSizeAcceptable(long long width, long long height);

// Why the last decode on this thread refused its image, in words for the message that names the
// file ("its pixel rows are cut short"); "" when it gave no reason. Decoders stay pure functions
// of their bytes: the reason is kept beside them rather than in the picture they return.
const std::string& ImageRefusal();
void ClearImageRefusal();
// Notes reason as the refusal of the decode under way; returns false for the decoder to return.
bool RefuseImage(std::string reason);
