// The WebGL 2 path against GL's fixed-function pipeline: its matrix stacks give GL's matrices to
// the last bit (a depth turned back into a distance magnifies any difference), the edges it draws
// for a line polygon mode are the triangles' edges, float buffers can be drawn into, and a picture
// is shown in the window alike.
#include <cmath>
#include <functional>
#include <string>

#include "render/drawing_path.h"
#include "render/effect/effect.h"
#include "render/effect/es_fixed_state.h"
#include "render/immediate_draw.h"
#include "render/frame_output.h"
#include "render/matrix_stack.h"
#include "render/polygon_edges.h"
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
      EXPECT_EQ(own[i], gl[i]) << c.what << ", element " << i;
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

TEST(PolygonEdges, EachTriangleOfAListStripOrFanGivesItsThreeEdges) {
  using render::TriangleEdges;
  EXPECT_EQ(TriangleEdges(Primitive::Triangles, 7), (std::vector<uint32_t>{0, 1, 1, 2, 2, 0, 3, 4, 4, 5, 5, 3}));
  EXPECT_EQ(TriangleEdges(Primitive::TriangleStrip, 4), (std::vector<uint32_t>{0, 1, 1, 2, 2, 0, 1, 2, 2, 3, 3, 1}));
  EXPECT_EQ(TriangleEdges(Primitive::TriangleFan, 4), (std::vector<uint32_t>{0, 1, 1, 2, 2, 0, 0, 2, 2, 3, 3, 0}));
  for (Primitive primitive : {Primitive::Triangles, Primitive::TriangleStrip, Primitive::TriangleFan}) {
    EXPECT_TRUE(TriangleEdges(primitive, 2).empty());
  }
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

// Two triangles drawn by an effect in a line polygon mode: the window's lit pixels.
std::vector<bool> WireframeDrawn(render::DrawingPath path) {
  render::SelectDrawingPath(path);
  cEffect effect;
  EXPECT_TRUE(effect.Create("uniform mat4 mvp : WORLDVIEWPROJECTION;\n"
                            "void vs() { gl_Position = mvp * gl_Vertex; }\n"
                            "void fs() { gl_FragColor = vec4(1.0); }\n"
                            "technique T { pass P { VertexProgram = vs; FragmentProgram = fs; CullFaceEnable = false;\n"
                            "  PolygonMode = int2(FrontAndBack, Line); } }",
                            "wire.cgfx"))
      << effect.Log();
  SelectMatrixStack(MatrixStack::Projection);
  LoadIdentityMatrix();
  SelectMatrixStack(MatrixStack::Modelview);
  LoadIdentityMatrix();
  glClearColor(0, 0, 0, 0);
  glClear(GL_COLOR_BUFFER_BIT);
  effect.setPassState(0);
  effect.setStateMatrix("mvp", STATE_MATRIX_MODELVIEW_PROJECTION);
  // s, t, normal, position: a quad of two triangles, inset from the edges.
  const float quad[6][8] = {{0, 0, 0, 0, 1, -0.7f, -0.7f, 0}, {0, 0, 0, 0, 1, 0.7f, -0.7f, 0},
                            {0, 0, 0, 0, 1, 0.7f, 0.7f, 0},   {0, 0, 0, 0, 1, -0.7f, -0.7f, 0},
                            {0, 0, 0, 0, 1, 0.7f, 0.7f, 0},   {0, 0, 0, 0, 1, -0.7f, 0.7f, 0}};
  DrawTexturedLitVertices(&quad[0][0], 6, Primitive::Triangles);
  effect.resetPassState(0);
  std::vector<uint8_t> window(GLTest::WIDTH * GLTest::HEIGHT * 4);
  glReadPixels(0, 0, GLTest::WIDTH, GLTest::HEIGHT, GL_RGBA, GL_UNSIGNED_BYTE, window.data());
  std::vector<bool> lit;
  for (size_t p = 0; p < window.size(); p += 4) lit.push_back(window[p] > 128);
  return lit;
}

TEST_F(DrawingPath, ALinePolygonModeDrawsTheTrianglesEdgesOnBothPaths) {
  const auto fixed = WireframeDrawn(render::DrawingPath::FixedFunction);
  const auto webgl = WireframeDrawn(render::DrawingPath::WebGl2);
  size_t lit = 0;
  size_t differing = 0;
  for (size_t i = 0; i < fixed.size(); ++i) {
    lit += fixed[i];
    differing += fixed[i] != webgl[i];
  }
  EXPECT_GT(lit, 150u) << "the edges are drawn";
  EXPECT_LT(lit, 400u) << "the triangles are not filled";
  // Where a line ends, its last pixel may be drawn by one and not the other.
  EXPECT_LE(differing, 8u);
  EXPECT_FALSE(webgl[32 * GLTest::WIDTH + 20]) << "inside a triangle";
}

}  // namespace
