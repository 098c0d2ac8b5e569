#include "render/command_objects.h"

#include "render/command_material.h"
#include "render/immediate_draw.h"
#include "render/intermediate_command.h"
#include "render/matrix_stack.h"
#include "render/texture.h"
#include "render/texture_manager.h"

void cmdPushMatrix::execute() {
  SelectMatrixStack(MatrixStackOfMode(mMode));
  PushMatrix();
}

void cmdPopMatrix::execute() {
  SelectMatrixStack(MatrixStackOfMode(mMode));
  PopMatrix();
}

void cmdLoadIdentity::execute() {
  SelectMatrixStack(MatrixStackOfMode(mMode));
  LoadIdentityMatrix();
}

void cmdOrtho::execute() { MultiplyOrtho(mLeft, mRight, mBottom, mTop, mNear, mFar); }

void cmdLookAt::execute() {
  MultiplyLookAt(mEye[0], mEye[1], mEye[2], mCentre[0], mCentre[1], mCentre[2], mUp[0], mUp[1], mUp[2]);
}

void cmdTranslate::execute() { TranslateMatrix(mX, mY, mZ); }

void cmdDrawQuad::execute() {
  static const RenderMaterial DEFAULT_MATERIAL;
  const RenderMaterial* material = gIntermediateCommand.getMaterial();
  if (!material) material = &DEFAULT_MATERIAL;
  SetColour(material->red, material->green, material->blue, material->alpha);
  if (material->texture) {
    SetTexturing(true);
    glBindTexture(GL_TEXTURE_2D, gTextureManager.lookupName(material->texture));
  }
  // s, t, x, y, z.
  const float vertices[4][5] = {
      {material->uLeft, material->vTop, 0.0f, mHeight, 0.0f},
      {material->uRight, material->vTop, mWidth, mHeight, 0.0f},
      {material->uLeft, material->vBottom, 0.0f, 0.0f, 0.0f},
      {material->uRight, material->vBottom, mWidth, 0.0f, 0.0f},
  };
  DrawTexturedStrip(vertices);
  if (material->texture) {
    glBindTexture(GL_TEXTURE_2D, 0);
    SetTexturing(false);
  }
}

void cmdChangeMaterial::execute() { gIntermediateCommand.setMaterial(mMaterial); }
