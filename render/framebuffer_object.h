#pragma once
// Framebuffer objects as the selected drawing path calls them: by the names of the
// EXT_framebuffer_object extension on the OpenGL 2.0 path, by the core names (the only ones
// WebGL 2 has) on the WebGL 2 path.

namespace render {

enum class FramebufferAttachment { Colour, Depth };

bool FramebufferObjectsAvailable();
unsigned CreateFramebufferObject();
void DeleteFramebufferObject(unsigned framebuffer);
// Draws into framebuffer (0: the window) from now on.
void BindFramebufferObject(unsigned framebuffer);
unsigned BoundFramebufferObject();
// Attaches a 2D texture (0: none) to the bound framebuffer.
void AttachTexture(FramebufferAttachment attachment, unsigned texture);
// Whether the bound framebuffer can be drawn into.
bool FramebufferComplete();

}  // namespace render
