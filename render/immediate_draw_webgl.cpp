#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/log.h"
#include "render/effect/es_fixed_state.h"
#include "render/effect/glsl_es_translation.h"
#include "render/effect/program.h"
#include "render/immediate_draw_paths.h"
#include "render/matrix_stack_paths.h"
#include "render/polygon_edges.h"

namespace webgl {

namespace {

// What the fixed-function pipeline draws where no effect is set, with the lighting off as the
// engine keeps it: the colour, times or replaced by the texture of unit 0 when texturing is on.
const char OWN_VERTEX[] =
    "varying vec4 vColour;\nvarying vec2 vUv;\n"
    "void main() { vColour = gl_Color; vUv = gl_MultiTexCoord0.xy; gl_Position = ftransform(); }\n";
const char OWN_FRAGMENT[] =
    "uniform sampler2D torvane_Texture;\nuniform int torvane_Texturing;\n"
    "varying vec4 vColour;\nvarying vec2 vUv;\n"
    "void main() {\n"
    "  vec4 colour = vColour;\n"
    "  if (torvane_Texturing == 1) colour *= texture2D(torvane_Texture, vUv);\n"
    "  if (torvane_Texturing == 2) colour = texture2D(torvane_Texture, vUv);\n"
    "  gl_FragColor = colour;\n"
    "}\n";

struct Run {
  GLenum mode = GL_TRIANGLES;
  size_t first = 0;
  size_t count = 0;
  VertexInputs inputs;
};

struct List {
  GLuint buffer = 0;
  std::vector<Run> runs;
};

struct Resources {
  GLuint ownProgram = 0;
  bool ownProgramFailed = false;
  GLuint streamBuffer = 0;
  GLuint edgeBuffer = 0;  // the line indices of a run drawn as edges
  std::unordered_map<unsigned, List> lists;
  unsigned nextList = 1;
  // The list being recorded (0: none), its vertices and runs.
  unsigned recording = 0;
  std::vector<float> recordedVertices;
  std::vector<Run> recordedRuns;
};

Resources& TheResources() {
  static Resources resources;
  return resources;
}

GLuint OwnProgram() {
  Resources& resources = TheResources();
  if (resources.ownProgram || resources.ownProgramFailed) return resources.ownProgram;
  std::string vertex;
  std::string fragment;
  std::string log;
  render::EsTranslationError error;
  if (render::TranslateToGlslEs(OWN_VERTEX, EffectStage::Vertex, vertex, error) &&
      render::TranslateToGlslEs(OWN_FRAGMENT, EffectStage::Fragment, fragment, error)) {
    resources.ownProgram = CompileEffectProgram(vertex, fragment, "the drawing path's own program", log, true);
  }
  if (!resources.ownProgram) {
    resources.ownProgramFailed = true;
    Log(LogLevel::Error, "render", "drawing without an effect is not possible: %s%s", error.text.c_str(), log.c_str());
  }
  return resources.ownProgram;
}

void PointAttributes(size_t firstVertex, VertexInputs inputs) {
  const GLsizei stride = static_cast<GLsizei>(FLOATS_PER_VERTEX * sizeof(float));
  const auto at = [&](size_t component) {
    return reinterpret_cast<const void*>((firstVertex * FLOATS_PER_VERTEX + component) * sizeof(float));
  };
  const render::EsFixedState& state = render::CurrentEsFixedState();
  glEnableVertexAttribArray(render::ES_ATTRIBUTE_VERTEX);
  glVertexAttribPointer(render::ES_ATTRIBUTE_VERTEX, 3, GL_FLOAT, GL_FALSE, stride, at(5));
  if (inputs.normals) {
    glEnableVertexAttribArray(render::ES_ATTRIBUTE_NORMAL);
    glVertexAttribPointer(render::ES_ATTRIBUTE_NORMAL, 3, GL_FLOAT, GL_FALSE, stride, at(2));
  } else {
    glVertexAttrib3f(render::ES_ATTRIBUTE_NORMAL, 0.0f, 0.0f, 1.0f);
  }
  if (inputs.uvs) {
    glEnableVertexAttribArray(render::ES_ATTRIBUTE_TEXCOORD0);
    glVertexAttribPointer(render::ES_ATTRIBUTE_TEXCOORD0, 2, GL_FLOAT, GL_FALSE, stride, at(0));
  } else {
    glVertexAttrib4f(render::ES_ATTRIBUTE_TEXCOORD0, 0.0f, 0.0f, 0.0f, 1.0f);
  }
  glVertexAttrib4fv(render::ES_ATTRIBUTE_COLOR, state.colour);
}

void UnpointAttributes() {
  glDisableVertexAttribArray(render::ES_ATTRIBUTE_VERTEX);
  glDisableVertexAttribArray(render::ES_ATTRIBUTE_NORMAL);
  glDisableVertexAttribArray(render::ES_ATTRIBUTE_TEXCOORD0);
}

std::optional<Primitive> TrianglePrimitive(GLenum mode) {
  switch (mode) {
    case GL_TRIANGLES: return Primitive::Triangles;
    case GL_TRIANGLE_STRIP: return Primitive::TriangleStrip;
    case GL_TRIANGLE_FAN: return Primitive::TriangleFan;
    default: return std::nullopt;
  }
}

// The polygon mode the triangles are drawn in: the front one, unless only back faces are drawn.
GLenum PolygonMode() {
  const GLenum* modes = render::CurrentEsFixedState().polygonMode;
  GLint culled = GL_BACK;
  glGetIntegerv(GL_CULL_FACE_MODE, &culled);
  return glIsEnabled(GL_CULL_FACE) && culled == GL_FRONT ? modes[1] : modes[0];
}

// A run in the polygon mode: filled, as its triangles' edges, or as their corners.
void DrawRun(const Run& run, GLenum polygonMode) {
  const auto primitive = TrianglePrimitive(run.mode);
  if (!primitive || polygonMode == GL_FILL) {
    glDrawArrays(run.mode, 0, static_cast<GLsizei>(run.count));
  } else if (polygonMode == GL_POINT) {
    glDrawArrays(GL_POINTS, 0, static_cast<GLsizei>(run.count));
  } else {
    const std::vector<uint32_t> edges = render::TriangleEdges(*primitive, run.count);
    Resources& resources = TheResources();
    if (!resources.edgeBuffer) glGenBuffers(1, &resources.edgeBuffer);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, resources.edgeBuffer);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(edges.size() * sizeof(uint32_t)), edges.data(),
                 GL_STREAM_DRAW);
    glDrawElements(GL_LINES, static_cast<GLsizei>(edges.size()), GL_UNSIGNED_INT, nullptr);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
  }
}

// Draws runs from buffer with the current program, or the own one where none is set.
void DrawRuns(GLuint buffer, const std::vector<Run>& runs) {
  GLint current = 0;
  glGetIntegerv(GL_CURRENT_PROGRAM, &current);
  const GLuint program = current ? static_cast<GLuint>(current) : OwnProgram();
  if (!program) return;
  if (!current) glUseProgram(program);
  render::ApplyEsFixedState(program);
  glBindBuffer(GL_ARRAY_BUFFER, buffer);
  const GLenum polygonMode = PolygonMode();
  for (const Run& run : runs) {
    PointAttributes(run.first, run.inputs);
    DrawRun(run, polygonMode);
    UnpointAttributes();
  }
  glBindBuffer(GL_ARRAY_BUFFER, 0);
  if (!current) glUseProgram(0);
}

}  // namespace

void DrawVertices(GLenum mode, const float* vertices, size_t count, VertexInputs inputs) {
  Resources& resources = TheResources();
  if (resources.recording) {
    resources.recordedRuns.push_back({mode, resources.recordedVertices.size() / FLOATS_PER_VERTEX, count, inputs});
    resources.recordedVertices.insert(resources.recordedVertices.end(), vertices, vertices + count * FLOATS_PER_VERTEX);
    return;
  }
  if (!resources.streamBuffer) glGenBuffers(1, &resources.streamBuffer);
  glBindBuffer(GL_ARRAY_BUFFER, resources.streamBuffer);
  glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(count * FLOATS_PER_VERTEX * sizeof(float)), vertices,
               GL_STREAM_DRAW);
  DrawRuns(resources.streamBuffer, {{mode, 0, count, inputs}});
}

void SetColour(float red, float green, float blue, float alpha) {
  float* colour = render::CurrentEsFixedState().colour;
  colour[0] = red;
  colour[1] = green;
  colour[2] = blue;
  colour[3] = alpha;
}

void SetTexturing(bool enabled) {
  render::CurrentEsFixedState().texturing = enabled ? render::EsTexturing::Modulate : render::EsTexturing::Off;
}

void SetAlphaTest(bool enabled, GLenum compareFunction, float reference) {
  render::EsFixedState& state = render::CurrentEsFixedState();
  state.alphaTest = enabled;
  if (!enabled) return;
  state.alphaFunc = compareFunction;
  state.alphaReference = reference < 0.0f ? 0.0f : reference > 1.0f ? 1.0f : reference;
}

unsigned BeginList() {
  Resources& resources = TheResources();
  resources.recording = resources.nextList++;
  resources.recordedVertices.clear();
  resources.recordedRuns.clear();
  return resources.recording;
}

void EndList() {
  Resources& resources = TheResources();
  List list;
  list.runs = std::move(resources.recordedRuns);
  glGenBuffers(1, &list.buffer);
  glBindBuffer(GL_ARRAY_BUFFER, list.buffer);
  glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(resources.recordedVertices.size() * sizeof(float)),
               resources.recordedVertices.data(), GL_STATIC_DRAW);
  glBindBuffer(GL_ARRAY_BUFFER, 0);
  resources.lists[resources.recording] = std::move(list);
  resources.recording = 0;
  resources.recordedVertices = {};
  resources.recordedRuns.clear();
}

void CallList(unsigned list) {
  const auto found = TheResources().lists.find(list);
  if (found != TheResources().lists.end()) DrawRuns(found->second.buffer, found->second.runs);
}

void DeleteList(unsigned list) {
  auto& lists = TheResources().lists;
  const auto found = lists.find(list);
  if (found == lists.end()) return;
  glDeleteBuffers(1, &found->second.buffer);
  lists.erase(found);
}

void ReleaseDrawingResources() {
  Resources& resources = TheResources();
  if (resources.ownProgram) {
    render::ForgetEsProgram(resources.ownProgram);
    glDeleteProgram(resources.ownProgram);
  }
  if (resources.streamBuffer) glDeleteBuffers(1, &resources.streamBuffer);
  if (resources.edgeBuffer) glDeleteBuffers(1, &resources.edgeBuffer);
  for (auto& [name, list] : resources.lists) glDeleteBuffers(1, &list.buffer);
  resources = Resources{};
  render::CurrentEsFixedState() = render::EsFixedState{};
  ResetMatrixStacks();
}

}  // namespace webgl
