#include "scene/scene_tdf_loader.h"

#include "scene/render_object.h"
#include "render/immediate_draw.h"
#include "render/matrix_stack.h"
#include "render/screen_pass.h"

CORE_IMPLEMENT_DYNAMIC(CSceneTdf_loader, CSceneTdfDefault)

void CSceneTdf_loader::BeginFrame(cTdfRender*, float) {
  SetClearColour(0.0f, 0.0f, 0.0f, 1.0f);
  SelectMatrixStack(MatrixStack::Projection);
  LoadIdentityMatrix();
  MultiplyPerspective(45.0, 1.3333333333333333, 1.0, 1000.0);
}

void CSceneTdf_loader::DrawFrame(cTdfRender*, float phase) {
  ClearColourAndDepth();
  SelectMatrixStack(MatrixStack::Modelview);
  LoadIdentityMatrix();
  MultiplyLookAt(0.0, 0.0, 10.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0);
  SetColour(1.0f, 1.0f, 1.0f);
  DrawCenteredRect(LOADER_FRAME_WIDTH, LOADER_FRAME_HEIGHT);
  SetColour(0.0f, 0.0f, 0.0f);
  DrawCenteredRect(LOADER_TRACK_WIDTH, LOADER_TRACK_HEIGHT);
  SetColour(1.0f, 1.0f, 1.0f);
  DrawCenteredRect(phase * LOADER_BAR_WIDTH, LOADER_BAR_HEIGHT);
}
