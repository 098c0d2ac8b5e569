#include "render/command_objects.h"

#include <GL/glu.h>

#include "render/command_material.h"
#include "render/intermediate_command.h"
#include "render/texture.h"
#include "render/texture_manager.h"

void cmdPushMatrix::execute() {
  glMatrixMode(mMode);
  glPushMatrix();
}

void cmdPopMatrix::execute() {
  glMatrixMode(mMode);
  glPopMatrix();
}

void cmdLoadIdentity::execute() {
  glMatrixMode(mMode);
  glLoadIdentity();
}

void cmdOrtho::execute() { glOrtho(mLeft, mRight, mBottom, mTop, mNear, mFar); }

void cmdLookAt::execute() {
  gluLookAt(mEye[0], mEye[1], mEye[2], mCentre[0], mCentre[1], mCentre[2], mUp[0], mUp[1], mUp[2]);
}

void cmdTranslate::execute() { glTranslatef(mX, mY, mZ); }

void cmdDrawQuad::execute() {
  static const RenderMaterial DEFAULT_MATERIAL;
  const RenderMaterial* material = gIntermediateCommand.getMaterial();
  if (!material) material = &DEFAULT_MATERIAL;
  glColor4f(material->red, material->green, material->blue, material->alpha);
  if (material->texture) {
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, gTextureManager.lookupName(material->texture));
  }
  // Interleaved GL_T2F_V3F: s, t, x, y, z.
  const GLfloat vertices[4][5] = {
      {material->uLeft, material->vTop, 0.0f, mHeight, 0.0f},
      {material->uRight, material->vTop, mWidth, mHeight, 0.0f},
      {material->uLeft, material->vBottom, 0.0f, 0.0f, 0.0f},
      {material->uRight, material->vBottom, mWidth, 0.0f, 0.0f},
  };
  glInterleavedArrays(GL_T2F_V3F, 0, vertices);
  glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
  glDisableClientState(GL_TEXTURE_COORD_ARRAY);
  glDisableClientState(GL_VERTEX_ARRAY);
  if (material->texture) {
    glBindTexture(GL_TEXTURE_2D, 0);
    glDisable(GL_TEXTURE_2D);
  }
}

void cmdChangeMaterial::execute() { gIntermediateCommand.setMaterial(mMaterial); }
