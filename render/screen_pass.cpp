#include "render/screen_pass.h"

#include <GL/glew.h>

void BindFramebuffer(unsigned framebuffer) {
  if (glBindFramebufferEXT) glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, framebuffer);
}

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
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}

void PushIdentityMatrices() {
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
}

void PopMatricesToProjection() {
  glMatrixMode(GL_MODELVIEW);
  glPopMatrix();
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
}

void BeginScreenPass() {
  glDisable(GL_BLEND);
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  glOrtho(0.0, 1.0, 0.0, 1.0, -10.0, 10.0);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
}

void EndFinalScreenPass() {
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  glPopMatrix();
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
