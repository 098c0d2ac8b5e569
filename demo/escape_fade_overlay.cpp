#include "demo/escape_fade_overlay.h"

#include <GL/glew.h>

#include "render/intermediate_command.h"

void RecordEscapeFadeOverlay(float opacity) {
  gIntermediateCommand.beginDraw();
  gIntermediateCommand.pushMatrix(GL_PROJECTION);
  gIntermediateCommand.loadIdentity(GL_PROJECTION);
  gIntermediateCommand.ortho(0.0f, 1.0f, 1.0f, 0.0f, 0.01f, 1000.0f);
  gIntermediateCommand.pushMatrix(GL_MODELVIEW);
  gIntermediateCommand.loadIdentity(GL_MODELVIEW);
  gIntermediateCommand.lookAt(0.0f, 0.0f, 900.0f, 0.0f, 0.0f, -1.0f, 0.0f, 1.0f, 0.0f);
  gIntermediateCommand.pushMatrix(GL_MODELVIEW);
  RenderMaterial* material = gIntermediateCommand.newMaterial();
  material->red = material->green = material->blue = 0.0f;
  material->alpha = opacity;
  gIntermediateCommand.changeMaterial(material);
  gIntermediateCommand.translate(0.0f, 0.0f, 1.0f);
  gIntermediateCommand.drawQuad(1.0f, 1.0f);
  gIntermediateCommand.popMatrix(GL_MODELVIEW);
  gIntermediateCommand.popMatrix(GL_MODELVIEW);
  gIntermediateCommand.popMatrix(GL_PROJECTION);
  gIntermediateCommand.endDraw();
}
