#pragma once
// The framebuffer calls of each drawing path, which framebuffer_object.h's functions choose between.

#include "render/framebuffer_object.h"

namespace fixed_function {

bool FramebufferObjectsAvailable();
unsigned CreateFramebufferObject();
void DeleteFramebufferObject(unsigned framebuffer);
void BindFramebufferObject(unsigned framebuffer);
unsigned BoundFramebufferObject();
void AttachTexture(render::FramebufferAttachment attachment, unsigned texture);
bool FramebufferComplete();

}  // namespace fixed_function

namespace webgl {

bool FramebufferObjectsAvailable();
unsigned CreateFramebufferObject();
void DeleteFramebufferObject(unsigned framebuffer);
void BindFramebufferObject(unsigned framebuffer);
unsigned BoundFramebufferObject();
void AttachTexture(render::FramebufferAttachment attachment, unsigned texture);
bool FramebufferComplete();

}  // namespace webgl
