#include <gtest/gtest.h>

#include "render/intermediate_command.h"
#include "render/texture.h"
#include "render/texture_manager.h"
#include "tests/render/command_buffer_fixture.h"

namespace {

class IntermediateCommandTest : public CommandBufferGLTest {
 protected:
  void SetUp() override {
    GLTest::SetUp();
    gIntermediateCommand.reset();
    gIntermediateCommand.setMaterial(nullptr);
    gIntermediateCommand.SelectList(0);
  }

  static void ClearTo(float grey) {
    glClearColor(grey, grey, grey, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
  }

  // The recording of the end-of-demo fade: a full-window quad in list 6 with material m.
  static void RecordFullWindowQuad(RenderMaterial* m, float bottom = 1.0f, float top = 0.0f) {
    intermediateCommand& c = gIntermediateCommand;
    c.beginDraw();
    c.pushMatrix(GL_PROJECTION);
    c.loadIdentity(GL_PROJECTION);
    c.ortho(0, 1, bottom, top, 0.01f, 1000);
    c.pushMatrix(GL_MODELVIEW);
    c.loadIdentity(GL_MODELVIEW);
    c.lookAt(0, 0, 900, 0, 0, -1, 0, 1, 0);
    c.pushMatrix(GL_MODELVIEW);
    c.changeMaterial(m);
    c.translate(0, 0, 1);
    c.drawQuad(1, 1);
    c.popMatrix(GL_MODELVIEW);
    c.popMatrix(GL_MODELVIEW);
    c.popMatrix(GL_PROJECTION);
    c.endDraw();
  }

  static void ReplayAndReset() {
    gIntermediateCommand.replay();
    gIntermediateCommand.reset();
  }
};

TEST_F(IntermediateCommandTest, AnEmptyReplayLeavesAlphaBlendingAndTheFrameAlphaReference) {
  glDisable(GL_BLEND);
  glBlendFunc(GL_ONE, GL_ONE);
  glDisable(GL_ALPHA_TEST);
  ReplayAndReset();
  EXPECT_TRUE(glIsEnabled(GL_BLEND));
  GLint source = 0, destination = 0, function = 0;
  glGetIntegerv(GL_BLEND_SRC, &source);
  glGetIntegerv(GL_BLEND_DST, &destination);
  EXPECT_EQ(source, GL_SRC_ALPHA);
  EXPECT_EQ(destination, GL_ONE_MINUS_SRC_ALPHA);
  EXPECT_TRUE(glIsEnabled(GL_ALPHA_TEST));
  glGetIntegerv(GL_ALPHA_TEST_FUNC, &function);
  EXPECT_EQ(function, GL_GREATER);
  GLfloat reference = 0;
  glGetFloatv(GL_ALPHA_TEST_REF, &reference);
  EXPECT_NEAR(reference, 0.0001f, 1e-6f);
}

TEST_F(IntermediateCommandTest, ADefaultMaterialDrawsAnOpaqueWhiteQuad) {
  ClearTo(0.0f);
  RecordFullWindowQuad(gIntermediateCommand.newMaterial());
  ReplayAndReset();
  for (auto [x, y] : {std::pair{1, 1}, {32, 32}, {62, 62}}) {
    std::vector<uint8_t> pixel = ReadPixel(x, y);
    EXPECT_EQ(pixel[0], 255) << x << "," << y;
    EXPECT_EQ(pixel[1], 255);
    EXPECT_EQ(pixel[2], 255);
  }
}

TEST_F(IntermediateCommandTest, TheDrawListBlendsBySourceAlphaWithoutAlphaTest) {
  ClearTo(1.0f);
  RenderMaterial* invisible = gIntermediateCommand.newMaterial();
  invisible->red = invisible->green = invisible->blue = 0.0f;
  invisible->alpha = 0.0f;
  RecordFullWindowQuad(invisible);
  ReplayAndReset();
  EXPECT_EQ(ReadPixel(32, 32)[0], 255) << "alpha 0 leaves the picture as it was";

  RenderMaterial* half = gIntermediateCommand.newMaterial();
  half->red = half->green = half->blue = 0.0f;
  half->alpha = 0.5f;
  RecordFullWindowQuad(half);
  ReplayAndReset();
  EXPECT_NEAR(ReadPixel(32, 32)[0], 128, 1) << "black at alpha 0.5 halves white";
}

TEST_F(IntermediateCommandTest, ListTwoDrawsWithoutBlendingAndListFiveMultiplies) {
  ClearTo(1.0f);
  RenderMaterial* clearBlack = gIntermediateCommand.newMaterial();
  clearBlack->red = clearBlack->green = clearBlack->blue = 0.0f;
  clearBlack->alpha = 0.0f;
  ASSERT_TRUE(gIntermediateCommand.SelectList(2));
  gIntermediateCommand.pushMatrix(GL_PROJECTION);
  gIntermediateCommand.loadIdentity(GL_PROJECTION);
  gIntermediateCommand.ortho(0, 2, 0, 1, -1, 1);
  gIntermediateCommand.loadIdentity(GL_MODELVIEW);
  gIntermediateCommand.changeMaterial(clearBlack);
  gIntermediateCommand.drawQuad(1, 1);  // left half, opaque black although alpha is 0
  ASSERT_TRUE(gIntermediateCommand.SelectList(5));
  RenderMaterial* grey = gIntermediateCommand.newMaterial();
  grey->red = grey->green = grey->blue = 0.5f;
  gIntermediateCommand.changeMaterial(grey);
  gIntermediateCommand.translate(1, 0, 0);
  gIntermediateCommand.drawQuad(1, 1);  // right half, multiplied by 0.5
  gIntermediateCommand.popMatrix(GL_PROJECTION);
  ReplayAndReset();
  EXPECT_EQ(ReadPixel(10, 32)[0], 0);
  EXPECT_NEAR(ReadPixel(50, 32)[0], 128, 1);
  EXPECT_FALSE(gIntermediateCommand.SelectList(7));
  EXPECT_FALSE(gIntermediateCommand.SelectList(-1));
  EXPECT_EQ(gIntermediateCommand.CurrentList(), 5);
}

TEST_F(IntermediateCommandTest, TexturedQuadRunsFromVBottomAtTheBottomToVTopAtTheTop) {
  cTexture texture(2, 2, 1, GL_RGBA8, GL_RGBA, GL_UNSIGNED_BYTE, GL_TEXTURE_2D, GL_NEAREST, GL_REPEAT, 1);
  uint8_t* data = texture.getData();
  const uint8_t rows[2][4] = {{255, 0, 0, 255}, {0, 0, 255, 255}};  // row 0 red, row 1 blue
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 2; ++x)
      for (int c = 0; c < 4; ++c) data[(y * texture.GetWidth() + x) * 4 + c] = rows[y][c];
  texture.upload();
  RenderMaterial* m = gIntermediateCommand.newMaterial();
  m->texture = &texture;
  RecordFullWindowQuad(m, 0.0f, 1.0f);  // y up, so the quad's top edge is the window's top
  ReplayAndReset();
  std::vector<uint8_t> bottom = ReadPixel(32, 4);
  std::vector<uint8_t> top = ReadPixel(32, 60);
  EXPECT_EQ(bottom[0], 255);
  EXPECT_EQ(bottom[2], 0);
  EXPECT_EQ(top[0], 0);
  EXPECT_EQ(top[2], 255);
  EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D)) << "texturing is switched off after the quad";
}

TEST_F(IntermediateCommandTest, BeginAndEndDrawLeaveTwoCommandsInTheDrawListAndSelectListZero) {
  gIntermediateCommand.beginDraw();
  EXPECT_EQ(gIntermediateCommand.CurrentList(), DRAW_LIST);
  gIntermediateCommand.endDraw();
  EXPECT_EQ(gIntermediateCommand.commandCount(DRAW_LIST), 2u);
  EXPECT_EQ(gIntermediateCommand.CommandBytes(DRAW_LIST), 2 * sizeof(cmdBeginDraw));
  EXPECT_EQ(gIntermediateCommand.commandCount(0), 0u);
  EXPECT_EQ(gIntermediateCommand.CurrentList(), 0);
}

TEST_F(IntermediateCommandTest, ResetEmptiesTheListsAndReusesMaterialStorage) {
  RenderMaterial* first = gIntermediateCommand.newMaterial();
  first->red = 0.25f;
  gIntermediateCommand.changeMaterial(first);
  gIntermediateCommand.setMaterial(first);
  gIntermediateCommand.reset();
  EXPECT_EQ(gIntermediateCommand.commandCount(0), 0u);
  EXPECT_EQ(gIntermediateCommand.materialCount(), 0u);
  EXPECT_EQ(gIntermediateCommand.getMaterial(), first) << "reset leaves the current material";
  RenderMaterial* second = gIntermediateCommand.newMaterial();
  EXPECT_EQ(second, first);
  EXPECT_EQ(second->red, 1.0f) << "the reused record is filled with the defaults";
  EXPECT_EQ(second->vTop, 1.0f);
  EXPECT_EQ(second->uRight, 1.0f);
}

TEST_F(IntermediateCommandTest, RecordingPastAListsCapacityIsRefusedAndTheBufferStaysUsable) {
  const size_t perList = COMMAND_LIST_SIZE / sizeof(cmdLoadIdentity);
  uint32_t refusedBefore = gIntermediateCommand.refusedCount();
  for (size_t i = 0; i < perList + 5; ++i) gIntermediateCommand.loadIdentity(GL_MODELVIEW);
  EXPECT_EQ(gIntermediateCommand.commandCount(0), perList);
  EXPECT_LE(gIntermediateCommand.CommandBytes(0), COMMAND_LIST_SIZE);
  EXPECT_EQ(gIntermediateCommand.refusedCount(), refusedBefore + 5);
  gIntermediateCommand.beginDraw();
  gIntermediateCommand.endDraw();
  EXPECT_EQ(gIntermediateCommand.commandCount(DRAW_LIST), 2u) << "other lists still record";
  ReplayAndReset();
  gIntermediateCommand.loadIdentity(GL_MODELVIEW);
  EXPECT_EQ(gIntermediateCommand.commandCount(0), 1u);
}

TEST_F(IntermediateCommandTest, MaterialsPastThePoolGetAWritableSpareOutsideIt) {
  const size_t perPool = MAT_POOL_SIZE / sizeof(RenderMaterial);
  RenderMaterial* last = nullptr;
  for (size_t i = 0; i < perPool; ++i) last = gIntermediateCommand.newMaterial();
  EXPECT_EQ(gIntermediateCommand.materialCount(), perPool);
  uint32_t refusedBefore = gIntermediateCommand.refusedCount();
  RenderMaterial* spare = gIntermediateCommand.newMaterial();
  ASSERT_NE(spare, nullptr);
  EXPECT_NE(spare, last + 1) << "the spare lies outside the pool";
  spare->alpha = 0.0f;
  EXPECT_EQ(last->alpha, 1.0f);
  EXPECT_EQ(gIntermediateCommand.materialCount(), perPool);
  EXPECT_EQ(gIntermediateCommand.refusedCount(), refusedBefore + 1);
}

}  // namespace
