#include "bench/showcase/draw_call_counter.h"

#include <dlfcn.h>

#include <unordered_map>

#include <GL/glew.h>

namespace {

uint64_t gIssued = 0;
// The list being recorded (0 for none) and the draws each recorded list holds.
GLuint gRecording = 0;
GLenum gRecordingMode = 0;
std::unordered_map<GLuint, uint64_t> gDrawsInList;

template <typename Function>
Function Driver(const char* name) {
  return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

// A draw made now: recorded into the list being compiled, or issued (also when the list is
// compiled and executed at once).
void CountDraw() {
  if (gRecording) ++gDrawsInList[gRecording];
  if (!gRecording || gRecordingMode == GL_COMPILE_AND_EXECUTE) ++gIssued;
}

}  // namespace

uint64_t DrawCallsIssued() { return gIssued; }

extern "C" {

void GLAPIENTRY glDrawArrays(GLenum mode, GLint first, GLsizei count) {
  static const auto driver = Driver<void(GLAPIENTRY*)(GLenum, GLint, GLsizei)>("glDrawArrays");
  CountDraw();
  driver(mode, first, count);
}

void GLAPIENTRY glDrawElements(GLenum mode, GLsizei count, GLenum type, const void* indices) {
  static const auto driver = Driver<void(GLAPIENTRY*)(GLenum, GLsizei, GLenum, const void*)>("glDrawElements");
  CountDraw();
  driver(mode, count, type, indices);
}

void GLAPIENTRY glEnd() {
  static const auto driver = Driver<void(GLAPIENTRY*)()>("glEnd");
  CountDraw();
  driver();
}

void GLAPIENTRY glNewList(GLuint list, GLenum mode) {
  static const auto driver = Driver<void(GLAPIENTRY*)(GLuint, GLenum)>("glNewList");
  gRecording = list;
  gRecordingMode = mode;
  gDrawsInList[list] = 0;
  driver(list, mode);
}

void GLAPIENTRY glEndList() {
  static const auto driver = Driver<void(GLAPIENTRY*)()>("glEndList");
  gRecording = 0;
  driver();
}

void GLAPIENTRY glCallList(GLuint list) {
  static const auto driver = Driver<void(GLAPIENTRY*)(GLuint)>("glCallList");
  const auto found = gDrawsInList.find(list);
  if (found != gDrawsInList.end()) gIssued += found->second;
  driver(list);
}

}  // extern "C"
