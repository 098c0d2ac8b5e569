#include "render/screen_pass.h"

#include <GL/glew.h>

#include "render/framebuffer_object.h"
#include "render/matrix_stack.h"

void BindFramebuffer(unsigned framebuffer) { render::BindFramebufferObject(framebuffer); }

void SetViewport(int width, int height) { glViewport(0, 0, width, height); }

void SetClearColour(float red, float green, float blue, float alpha) { glClearColor(red, green, blue, alpha); }

float ClearColourAlpha() {
  GLfloat clear[4] = {0, 0, 0, 0};
  glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
  return clear[3];
}

void ClearColourAndDepth() { glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT); }

void ClearDepth() { glClear(GL_DEPTH_BUFFER_BIT); }

void FlushDrawing() { glFlush(); }

void ResetMatrices() {
  SelectMatrixStack(MatrixStack::Projection);
  LoadIdentityMatrix();
  SelectMatrixStack(MatrixStack::Modelview);
  LoadIdentityMatrix();
}

void PushIdentityMatrices() {
  SelectMatrixStack(MatrixStack::Projection);
  PushMatrix();
  LoadIdentityMatrix();
  SelectMatrixStack(MatrixStack::Modelview);
  PushMatrix();
  LoadIdentityMatrix();
}

void PopMatricesToProjection() {
  SelectMatrixStack(MatrixStack::Modelview);
  PopMatrix();
  SelectMatrixStack(MatrixStack::Projection);
  PopMatrix();
}

void BeginScreenPass() {
  glDisable(GL_BLEND);
  SelectMatrixStack(MatrixStack::Projection);
  PushMatrix();
  LoadIdentityMatrix();
  MultiplyOrtho(0.0, 1.0, 0.0, 1.0, -10.0, 10.0);
  SelectMatrixStack(MatrixStack::Modelview);
  PushMatrix();
  LoadIdentityMatrix();
}

void EndFinalScreenPass() {
  SelectMatrixStack(MatrixStack::Projection);
  PopMatrix();
  SelectMatrixStack(MatrixStack::Modelview);
  PopMatrix();
  glEnable(GL_BLEND);
}

void EndScreenPass() {
  EndFinalScreenPass();
  glFlush();
}

ConstantBlendWeight::ConstantBlendWeight(float weight) {
  glGetFloatv(GL_BLEND_COLOR, mPrevious);
  glBlendColor(weight, weight, weight, weight);
  glBlendFunc(GL_CONSTANT_COLOR, GL_CONSTANT_COLOR);
}

ConstantBlendWeight::~ConstantBlendWeight() { glBlendColor(mPrevious[0], mPrevious[1], mPrevious[2], mPrevious[3]); }
