#pragma once
// How each drawing path shows a finished picture in the window, which FrameOutput chooses between.

#include <GL/glew.h>

namespace render {

// The window's size, the picture's place in it (GL's bottom-up viewport), and the texture with
// the share of it the picture covers.
struct PictureOnWindow {
  int windowWidth = 0;
  int windowHeight = 0;
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  GLuint texture = 0;
  float u = 1.0f;
  float v = 1.0f;
};

}  // namespace render

namespace fixed_function {
// Clears the window black and draws the picture, leaving GL's state as it found it.
void PresentPicture(const render::PictureOnWindow& picture);
}  // namespace fixed_function

namespace webgl {
void PresentPicture(const render::PictureOnWindow& picture);
}  // namespace webgl
