#include "tests/support/gl_fixture.h"

platform::HiddenGLContext* GLTest::sContext = nullptr;

void GLTest::SetUpTestSuite() {
  sContext = new platform::HiddenGLContext;
  sContext->Create(WIDTH, HEIGHT);
}

void GLTest::TearDownTestSuite() {
  delete sContext;
  sContext = nullptr;
}

void GLTest::SetUp() {
  ASSERT_TRUE(sContext->IsCreated()) << "no GL context: " << sContext->Error() << " (run the tests under xvfb-run)";
  glViewport(0, 0, WIDTH, HEIGHT);
  glClearColor(0, 0, 0, 0);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

std::vector<uint8_t> GLTest::ReadPixel(int x, int y) {
  std::vector<uint8_t> pixel(4);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel.data());
  return pixel;
}
