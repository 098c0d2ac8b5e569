#include "scene/scene_tdf_loader.h"

#include <GL/glew.h>
#include <GL/glu.h>

#include "scene/render_object.h"

CORE_IMPLEMENT_DYNAMIC(CSceneTdf_loader, CSceneTdfDefault)

void CSceneTdf_loader::BeginFrame(cTdfRender*, float) {
  glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(45.0, 1.3333333333333333, 1.0, 1000.0);
}

void CSceneTdf_loader::DrawFrame(cTdfRender*, float phase) {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  gluLookAt(0.0, 0.0, 10.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0);
  glColor3f(1.0f, 1.0f, 1.0f);
  DrawCenteredRect(LOADER_FRAME_WIDTH, LOADER_FRAME_HEIGHT);
  glColor3f(0.0f, 0.0f, 0.0f);
  DrawCenteredRect(LOADER_TRACK_WIDTH, LOADER_TRACK_HEIGHT);
  glColor3f(1.0f, 1.0f, 1.0f);
  DrawCenteredRect(phase * LOADER_BAR_WIDTH, LOADER_BAR_HEIGHT);
}
