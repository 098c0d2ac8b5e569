#pragma once
// The material that recorded quads are drawn with: an optional texture, a colour and the
// texture coordinates of the quad's edges. Records live in the command buffer's material pool
// until the end of the frame.

class cTexture;

struct alignas(16) RenderMaterial {
  cTexture* texture = nullptr;  // null: an untextured quad
  float red = 1.0f;
  float green = 1.0f;
  float blue = 1.0f;
  float alpha = 1.0f;
  float vBottom = 0.0f;
  float vTop = 1.0f;
  float uLeft = 0.0f;
  float uRight = 1.0f;
};

static_assert(sizeof(RenderMaterial) == 48, "a material record takes 48 bytes of the pool");
