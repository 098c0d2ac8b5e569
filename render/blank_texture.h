#pragma once
// 1 × 1 textures of zeros: what a screen buffer that nothing has drawn into samples as (colour
// 0, 0, 0, 0; depth 0), shared by the stand-ins of buffers that a production never draws into.
// Needs a current GL context; the caller owns the texture.

class cTexture;

cTexture* CreateBlankColourTexture();
cTexture* CreateBlankDepthTexture();
