#include "demo/escape_fade_overlay.h"

#include "render/intermediate_command.h"

void RecordEscapeFadeOverlay(float opacity) {
  gIntermediateCommand.beginDraw();
  gIntermediateCommand.pushMatrix(MatrixStack::Projection);
  gIntermediateCommand.loadIdentity(MatrixStack::Projection);
  gIntermediateCommand.ortho(0.0f, 1.0f, 1.0f, 0.0f, 0.01f, 1000.0f);
  gIntermediateCommand.pushMatrix(MatrixStack::Modelview);
  gIntermediateCommand.loadIdentity(MatrixStack::Modelview);
  gIntermediateCommand.lookAt(0.0f, 0.0f, 900.0f, 0.0f, 0.0f, -1.0f, 0.0f, 1.0f, 0.0f);
  gIntermediateCommand.pushMatrix(MatrixStack::Modelview);
  RenderMaterial* material = gIntermediateCommand.newMaterial();
  material->red = material->green = material->blue = 0.0f;
  material->alpha = opacity;
  gIntermediateCommand.changeMaterial(material);
  gIntermediateCommand.translate(0.0f, 0.0f, 1.0f);
  gIntermediateCommand.drawQuad(1.0f, 1.0f);
  gIntermediateCommand.popMatrix(MatrixStack::Modelview);
  gIntermediateCommand.popMatrix(MatrixStack::Modelview);
  gIntermediateCommand.popMatrix(MatrixStack::Projection);
  gIntermediateCommand.endDraw();
}
