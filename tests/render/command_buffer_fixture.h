#pragma once
// GL tests that record into the engine's command buffer: the pools are reserved for the suite.

#include "render/intermediate_command.h"
#include "tests/support/gl_fixture.h"

class CommandBufferGLTest : public GLTest {
 public:
  static void SetUpTestSuite() {
    GLTest::SetUpTestSuite();
    gIntermediateCommand.Initialize();
  }
  static void TearDownTestSuite() {
    gIntermediateCommand.Terminate();
    GLTest::TearDownTestSuite();
  }
};
