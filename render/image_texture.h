#pragma once
// Turns a decoded image into an uploaded cTexture (needs a current GL context).

#include "render/image/image_data.h"

class cTexture;

// The size the texture will be stored at: the image size, or the next powers of two when the
// texture manager reports no support for other sizes.
void StoredTextureSize(const ImageData& image, int& width, int& height);

// Creates a texture with the image's parameters, copies the pixels into its CPU copy (rows at the
// stored width's pitch), uploads it and frees the copy. Null, with nothing created, when the image
// needs exactly its own size (TGA, HDR, DDS) and the texture would be stored larger.
cTexture* CreateImageTexture(const ImageData& image);
