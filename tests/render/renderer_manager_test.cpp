#include <gtest/gtest.h>

#include "render/intermediate_command.h"
#include "render/renderer_manager.h"
#include "tests/render/command_buffer_fixture.h"

namespace {

class RendererStateTest : public CommandBufferGLTest {
 protected:
  void SetUp() override {
    GLTest::SetUp();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    ASSERT_TRUE(gRendererManager.Initialize());
  }

  // A full-viewport quad, counter-clockwise so that back-face culling keeps it.
  static void DrawQuad(float r, float g, float b, float a) {
    glColor4f(r, g, b, a);
    glBegin(GL_QUADS);
    glVertex3f(-1, -1, 0);
    glVertex3f(1, -1, 0);
    glVertex3f(1, 1, 0);
    glVertex3f(-1, 1, 0);
    glEnd();
  }

  static GLfloat AlphaReference() {
    GLfloat reference = -1;
    glGetFloatv(GL_ALPHA_TEST_REF, &reference);
    return reference;
  }
};

TEST_F(RendererStateTest, AlphaZeroLeavesTheBufferAndAlphaHalfBlendsHalf) {
  glClearColor(1, 1, 1, 1);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  DrawQuad(0, 0, 0, 0);
  EXPECT_EQ(ReadPixel(32, 32)[0], 255);
  DrawQuad(0, 0, 0, 0.5f);
  EXPECT_NEAR(ReadPixel(32, 32)[0], 128, 1);
}

TEST_F(RendererStateTest, FixedStateIsInForce) {
  EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
  EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
  EXPECT_TRUE(glIsEnabled(GL_COLOR_MATERIAL));
  EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
  EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
  GLint depthFunction = 0;
  glGetIntegerv(GL_DEPTH_FUNC, &depthFunction);
  EXPECT_EQ(depthFunction, GL_LEQUAL);
  EXPECT_FLOAT_EQ(AlphaReference(), 0.000001f);

  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glColor4f(1, 1, 1, 1);
  glBegin(GL_QUADS);  // clockwise: a back face, culled
  glVertex3f(-1, -1, 0);
  glVertex3f(-1, 1, 0);
  glVertex3f(1, 1, 0);
  glVertex3f(1, -1, 0);
  glEnd();
  EXPECT_EQ(ReadPixel(32, 32)[0], 0);
}

TEST_F(RendererStateTest, EmptyFramesStillRunTheListStatesAndLeaveTheFrameAlphaReference) {
  gRendererManager.FrameUpdate();
  EXPECT_NEAR(AlphaReference(), 0.0001f, 1e-7f);
  gRendererManager.FrameUpdate();
  EXPECT_NEAR(AlphaReference(), 0.0001f, 1e-7f);
  EXPECT_TRUE(glIsEnabled(GL_BLEND));
}

TEST_F(RendererStateTest, FrameUpdateReplaysWhatWasRecordedAndEmptiesTheBuffer) {
  glClearColor(0, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  gIntermediateCommand.beginDraw();
  gIntermediateCommand.pushMatrix(GL_PROJECTION);
  gIntermediateCommand.loadIdentity(GL_PROJECTION);
  gIntermediateCommand.ortho(0, 1, 1, 0, -1, 1);  // y down, so the strip faces the viewer
  gIntermediateCommand.changeMaterial(gIntermediateCommand.newMaterial());
  gIntermediateCommand.drawQuad(1, 1);
  gIntermediateCommand.popMatrix(GL_PROJECTION);
  gIntermediateCommand.endDraw();
  gRendererManager.FrameUpdate();
  EXPECT_EQ(ReadPixel(32, 32)[1], 255);
  EXPECT_EQ(gIntermediateCommand.commandCount(DRAW_LIST), 0u);
  EXPECT_EQ(gIntermediateCommand.materialCount(), 0u);
}

int gPresented = 0;

TEST_F(RendererStateTest, FrameEndCallsAnInstalledPresenter) {
  gRendererManager.SetPresenter([] { ++gPresented; });
  gRendererManager.FrameEnd();
  gRendererManager.FrameEnd();
  gRendererManager.SetPresenter(nullptr);
  gRendererManager.FrameEnd();
  EXPECT_EQ(gPresented, 2);
}

}  // namespace
