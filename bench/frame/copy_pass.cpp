#include "bench/frame/copy_pass.h"

#include <chrono>
#include <ctime>

#include <GL/glew.h>

namespace {

constexpr int WARM_UP_PASSES = 4;
constexpr int TIMED_PASSES = 32;

const char VERTEX[] = "varying vec2 uv; void main() { uv = gl_MultiTexCoord0.xy; gl_Position = gl_Vertex; }";
const char FRAGMENT[] = "uniform sampler2D source; varying vec2 uv; void main() { gl_FragColor = texture2D(source, uv); }";

GLuint FloatTexture(int width, int height) {
  GLuint texture = 0;
  glGenTextures(1, &texture);
  glBindTexture(GL_TEXTURE_2D, texture);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA16F_ARB, width, height, 0, GL_RGBA, GL_FLOAT, nullptr);
  return texture;
}

GLuint Stage(GLenum type, const char* text) {
  GLuint shader = glCreateShader(type);
  glShaderSource(shader, 1, &text, nullptr);
  glCompileShader(shader);
  return shader;
}

void DrawFullScreen() {
  glBegin(GL_TRIANGLE_STRIP);
  glTexCoord2f(0, 1);
  glVertex2f(-1, 1);
  glTexCoord2f(0, 0);
  glVertex2f(-1, -1);
  glTexCoord2f(1, 1);
  glVertex2f(1, 1);
  glTexCoord2f(1, 0);
  glVertex2f(1, -1);
  glEnd();
}

}  // namespace

double ProcessCpuMilliseconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6;
}

CopyPassCost MeasureCopyPass(int width, int height) {
  glPushAttrib(GL_ALL_ATTRIB_BITS);
  GLint previousFramebuffer = 0;
  GLint previousProgram = 0;
  glGetIntegerv(GL_FRAMEBUFFER_BINDING_EXT, &previousFramebuffer);
  glGetIntegerv(GL_CURRENT_PROGRAM, &previousProgram);

  const GLuint source = FloatTexture(width, height);
  const GLuint target = FloatTexture(width, height);
  GLuint framebuffer = 0;
  glGenFramebuffersEXT(1, &framebuffer);
  glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, framebuffer);
  glFramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, GL_TEXTURE_2D, target, 0);
  const GLuint vertex = Stage(GL_VERTEX_SHADER, VERTEX);
  const GLuint fragment = Stage(GL_FRAGMENT_SHADER, FRAGMENT);
  const GLuint program = glCreateProgram();
  glAttachShader(program, vertex);
  glAttachShader(program, fragment);
  glLinkProgram(program);
  glUseProgram(program);
  glUniform1i(glGetUniformLocation(program, "source"), 0);
  glBindTexture(GL_TEXTURE_2D, source);
  glViewport(0, 0, width, height);
  glDisable(GL_BLEND);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_ALPHA_TEST);
  glDisable(GL_CULL_FACE);

  for (int i = 0; i < WARM_UP_PASSES; ++i) DrawFullScreen();
  glFinish();
  const auto start = std::chrono::steady_clock::now();
  const double cpuStart = ProcessCpuMilliseconds();
  for (int i = 0; i < TIMED_PASSES; ++i) DrawFullScreen();
  glFinish();
  const std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - start;
  const double cpu = ProcessCpuMilliseconds() - cpuStart;

  glUseProgram(static_cast<GLuint>(previousProgram));
  glDeleteProgram(program);
  glDeleteShader(vertex);
  glDeleteShader(fragment);
  glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, static_cast<GLuint>(previousFramebuffer));
  glDeleteFramebuffersEXT(1, &framebuffer);
  glBindTexture(GL_TEXTURE_2D, 0);
  glDeleteTextures(1, &source);
  glDeleteTextures(1, &target);
  glPopAttrib();
  return {elapsed.count() / TIMED_PASSES, cpu / TIMED_PASSES};
}
