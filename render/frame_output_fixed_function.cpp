#include "render/frame_output_paths.h"
#include "render/screen_pass.h"

namespace fixed_function {

void PresentPicture(const render::PictureOnWindow& picture) {
  glPushAttrib(GL_ENABLE_BIT | GL_VIEWPORT_BIT | GL_TEXTURE_BIT | GL_COLOR_BUFFER_BIT | GL_CURRENT_BIT);
  GLint program = 0;
  glGetIntegerv(GL_CURRENT_PROGRAM, &program);
  glUseProgram(0);
  glViewport(0, 0, picture.windowWidth, picture.windowHeight);
  glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  glViewport(picture.x, picture.y, picture.width, picture.height);
  glDisable(GL_BLEND);
  glDisable(GL_ALPHA_TEST);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_CULL_FACE);
  glDisable(GL_LIGHTING);
  glEnable(GL_TEXTURE_2D);
  glActiveTexture(GL_TEXTURE0);
  glBindTexture(GL_TEXTURE_2D, picture.texture);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
  glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
  PushIdentityMatrices();
  glBegin(GL_TRIANGLE_STRIP);
  glTexCoord2f(0.0f, 0.0f);
  glVertex2f(-1.0f, -1.0f);
  glTexCoord2f(picture.u, 0.0f);
  glVertex2f(1.0f, -1.0f);
  glTexCoord2f(0.0f, picture.v);
  glVertex2f(-1.0f, 1.0f);
  glTexCoord2f(picture.u, picture.v);
  glVertex2f(1.0f, 1.0f);
  glEnd();
  PopMatricesToProjection();
  glMatrixMode(GL_MODELVIEW);
  glBindTexture(GL_TEXTURE_2D, 0);
  glUseProgram(static_cast<GLuint>(program));
  glPopAttrib();
}

}  // namespace fixed_function
