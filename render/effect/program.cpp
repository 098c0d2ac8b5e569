#include "render/effect/program.h"

#include <cctype>
#include <sstream>
#include <vector>

#include "render/effect/glsl_es_translation.h"

namespace {

// Reads decimal digits at text[pos]; false when there are none.
bool ReadDigits(const std::string& text, size_t& pos, std::string& digits) {
  const size_t start = pos;
  while (pos < text.size() && std::isdigit(static_cast<unsigned char>(text[pos]))) ++pos;
  digits = text.substr(start, pos - start);
  return !digits.empty();
}

bool Expect(const std::string& text, size_t& pos, const char* what) {
  const std::string expected(what);
  if (text.compare(pos, expected.size(), expected) != 0) return false;
  pos += expected.size();
  return true;
}

std::string LocateLine(const std::string& line, const std::string& fileName) {
  size_t pos = 0;
  std::string source;
  std::string number;
  std::string column;
  if (ReadDigits(line, pos, source)) {
    size_t mesa = pos;
    if (Expect(line, mesa, ":") && ReadDigits(line, mesa, number) && Expect(line, mesa, "(") &&
        ReadDigits(line, mesa, column) && Expect(line, mesa, "): ")) {
      return fileName + ":" + number + ":" + column + ": " + line.substr(mesa);
    }
    size_t other = pos;
    if (Expect(line, other, "(") && ReadDigits(line, other, number) && Expect(line, other, ")")) {
      while (other < line.size() && (line[other] == ' ' || line[other] == ':')) ++other;
      return fileName + ":" + number + ": " + line.substr(other);
    }
  }
  return fileName + ": " + line;
}

// The info log of a shader or program, through the matching pair of GL queries.
std::string InfoLog(GLuint object, PFNGLGETSHADERIVPROC getParameter, PFNGLGETSHADERINFOLOGPROC getLog) {
  GLint length = 0;
  getParameter(object, GL_INFO_LOG_LENGTH, &length);
  std::vector<char> text(length > 0 ? length : 1, '\0');
  getLog(object, static_cast<GLsizei>(text.size()), nullptr, text.data());
  return text.data();
}

GLuint CompileStage(GLenum type, const std::string& glsl, const std::string& fileName, std::string& log) {
  const GLuint shader = glCreateShader(type);
  const char* text = glsl.c_str();
  glShaderSource(shader, 1, &text, nullptr);
  glCompileShader(shader);
  GLint compiled = GL_FALSE;
  glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
  if (compiled) return shader;
  log += LocateCompilerLog(InfoLog(shader, glGetShaderiv, glGetShaderInfoLog), fileName);
  glDeleteShader(shader);
  return 0;
}

void BindEsAttributes(GLuint program) {
  using namespace render;
  for (EsAttribute attribute : {ES_ATTRIBUTE_VERTEX, ES_ATTRIBUTE_NORMAL, ES_ATTRIBUTE_COLOR}) {
    glBindAttribLocation(program, attribute, EsAttributeName(attribute).c_str());
  }
  for (int set = 0; set < ES_TEXCOORD_SETS; ++set) {
    glBindAttribLocation(program, ES_ATTRIBUTE_TEXCOORD0 + set, EsAttributeName(ES_ATTRIBUTE_TEXCOORD0, set).c_str());
  }
}

}  // namespace

std::string LocateCompilerLog(const std::string& log, const std::string& fileName) {
  std::istringstream lines(log);
  std::string line;
  std::string located;
  while (std::getline(lines, line)) {
    if (line.empty()) continue;
    located += LocateLine(line, fileName) + "\n";
  }
  return located;
}

GLuint CompileEffectProgram(const std::string& vertexGlsl, const std::string& fragmentGlsl, const std::string& fileName,
                            std::string& log, bool esAttributes) {
  // Without a GL 2 context (a headless tool) there is nothing to compile with.
  if (!glCreateShader || !glCreateProgram) {
    log += fileName + ": no OpenGL 2.0 context to build the effect on\n";
    return 0;
  }
  const GLuint vertex = CompileStage(GL_VERTEX_SHADER, vertexGlsl, fileName, log);
  const GLuint fragment = CompileStage(GL_FRAGMENT_SHADER, fragmentGlsl, fileName, log);
  if (!vertex || !fragment) {
    if (vertex) glDeleteShader(vertex);
    if (fragment) glDeleteShader(fragment);
    return 0;
  }
  const GLuint program = glCreateProgram();
  glAttachShader(program, vertex);
  glAttachShader(program, fragment);
  if (esAttributes) BindEsAttributes(program);
  glLinkProgram(program);
  // The program keeps what it needs; the shaders go once it is linked.
  glDeleteShader(vertex);
  glDeleteShader(fragment);
  GLint linked = GL_FALSE;
  glGetProgramiv(program, GL_LINK_STATUS, &linked);
  if (linked) return program;
  log += fileName + ": link: " + InfoLog(program, glGetProgramiv, glGetProgramInfoLog);
  if (!log.empty() && log.back() != '\n') log += '\n';
  glDeleteProgram(program);
  return 0;
}
