// The WebGL 2 path's own matrix stacks against GL's: every operation the engine places drawing
// with gives the matrix GL gives; and float buffers can be drawn into on both paths.
#include <cmath>
#include <functional>
#include <string>

#include "render/drawing_path.h"
#include "render/effect/es_fixed_state.h"
#include "render/frame_output.h"
#include "render/matrix_stack.h"
#include "render/screen_buffer.h"
#include "tests/support/gl_fixture.h"

namespace {

class DrawingPath : public GLTest {
 protected:
  void TearDown() override { render::SelectDrawingPath(render::DrawingPath::FixedFunction); }
};

// Runs operations on a fresh model-view stack of path and returns the matrix they leave.
std::vector<float> Matrix(render::DrawingPath path, const std::function<void()>& operations) {
  render::SelectDrawingPath(path);
  SelectMatrixStack(MatrixStack::Modelview);
  LoadIdentityMatrix();
  PushMatrix();
  operations();
  std::vector<float> matrix(16);
  if (path == render::DrawingPath::WebGl2) {
    matrix.assign(render::CurrentEsFixedState().modelView, render::CurrentEsFixedState().modelView + 16);
  } else {
    glGetFloatv(GL_MODELVIEW_MATRIX, matrix.data());
  }
  PopMatrix();
  return matrix;
}

TEST_F(DrawingPath, TheEnginesMatricesAreGLs) {
  const struct {
    const char* what;
    std::function<void()> operations;
  } cases[] = {
      {"translate", [] { TranslateMatrix(1.5f, -2.0f, 3.25f); }},
      {"rotate", [] { RotateMatrix(37.0f, 1.0f, 2.0f, -0.5f); }},
      {"scale", [] { ScaleMatrix(2.0f, 0.5f, -1.0f); }},
      {"ortho", [] { MultiplyOrtho(0.0, 1.0, 0.0, 1.0, -10.0, 10.0); }},
      {"frustum", [] { MultiplyFrustum(-0.4, 0.6, -0.3, 0.3, 0.5, 400.0); }},
      {"perspective", [] { MultiplyPerspective(45.0, 16.0 / 9.0, 0.1, 1000.0); }},
      {"look at", [] { MultiplyLookAt(3.0, 4.0, 10.0, 0.0, 1.0, 0.0, 0.0, 1.0, 0.0); }},
      {"a sequence, pushed and popped",
       [] {
         TranslateMatrix(0.0f, 0.0f, -5.0f);
         PushMatrix();
         ScaleMatrix(9.0f, 9.0f, 9.0f);
         PopMatrix();
         RotateMatrix(90.0f, 0.0f, 1.0f, 0.0f);
         MultiplyLookAt(0.0, 0.0, 1.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0);
       }},
  };
  for (const auto& c : cases) {
    const std::vector<float> gl = Matrix(render::DrawingPath::FixedFunction, c.operations);
    const std::vector<float> own = Matrix(render::DrawingPath::WebGl2, c.operations);
    for (int i = 0; i < 16; ++i) {
      EXPECT_NEAR(own[i], gl[i], 1e-5f * std::max(1.0f, std::fabs(gl[i]))) << c.what << ", element " << i;
    }
  }
  render::SelectDrawingPath(render::DrawingPath::WebGl2);
  SelectMatrixStack(MatrixStack::Modelview);
  const int room = ModelviewStackRoom();
  for (int i = 0; i < room + 4; ++i) PushMatrix();
  EXPECT_EQ(ModelviewStackRoom(), 0) << "the stack grows without bound";
  for (int i = 0; i < room + 8; ++i) PopMatrix();
  EXPECT_EQ(ModelviewStackRoom(), room) << "popping past the bottom loses the last matrix";
}

TEST_F(DrawingPath, FloatBuffersCanBeDrawnIntoOnBothPaths) {
  for (render::DrawingPath path : {render::DrawingPath::FixedFunction, render::DrawingPath::WebGl2}) {
    render::SelectDrawingPath(path);
    EXPECT_TRUE(FloatScreenBuffersDrawable()) << (path == render::DrawingPath::WebGl2 ? "WebGL 2" : "fixed function");
  }
}

// A picture of two halves, letter-boxed into the window, and the window's pixels afterwards.
std::vector<uint8_t> PresentedWindow(render::DrawingPath path) {
  render::SelectDrawingPath(path);
  FrameOutput output;
  output.Create(32, 8);
  output.Bind();
  glViewport(0, 0, 32, 8);
  glClearColor(0.2f, 0.4f, 0.6f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  glEnable(GL_SCISSOR_TEST);
  glScissor(0, 0, 16, 8);
  glClearColor(1.0f, 0.5f, 0.0f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  glDisable(GL_SCISSOR_TEST);
  glEnable(GL_BLEND);
  output.Present(GLTest::WIDTH, GLTest::HEIGHT);
  EXPECT_TRUE(glIsEnabled(GL_BLEND)) << "presenting did not put the state back";
  std::vector<uint8_t> window(GLTest::WIDTH * GLTest::HEIGHT * 4);
  glReadPixels(0, 0, GLTest::WIDTH, GLTest::HEIGHT, GL_RGBA, GL_UNSIGNED_BYTE, window.data());
  return window;
}

TEST_F(DrawingPath, ThePictureIsShownInTheWindowAlikeOnBothPaths) {
  const auto fixed = PresentedWindow(render::DrawingPath::FixedFunction);
  const auto webgl = PresentedWindow(render::DrawingPath::WebGl2);
  EXPECT_EQ(fixed, webgl);
  const size_t middleRow = static_cast<size_t>(HEIGHT / 2) * WIDTH * 4;
  EXPECT_EQ(webgl[middleRow + 4 * 4], 255) << "the left half";
  EXPECT_EQ(webgl[middleRow + 60 * 4 + 2], 153) << "the right half";
  EXPECT_EQ(webgl[4 * 4], 0) << "the border";
}

}  // namespace
