#include "bench/frame/plain_frame.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <map>
#include <span>

#include <GL/glew.h>

#include "bench/frame/plain_matrix.h"
#include "demo/jitter_tables.h"
#include "files/core_file.h"
#include "files/model_cache.h"
#include "files/pack_file.h"
#include "files/tdf_document.h"
#include "files/tdf_tokens.h"
#include "platform/hidden_gl_context.h"
#include "render/effect/parser.h"
#include "render/effect/stage_source.h"
#include "render/image/decoders.h"
#include "scene/cut_choice.h"
#include "scene/demo_scene.h"
#include "scene/scene_camera.h"

namespace {

// The production, written out by hand: its scene lines, scene animations with their model
// tables, and post-effect entries in priority order.
enum SceneId { OPENING, FINALE, BACKDROP, SCENE_COUNT };

struct SceneFile {
  const char* path;
  std::vector<const char*> modelSlots;  // model cache of slot 0, 1, ...
};

const std::array<SceneFile, SCENE_COUNT> SCENE_FILES = {{
    {"data\\tdf\\opening.tdf", {"data\\model\\cube.bmdl", "data\\model\\pyramid.bmdl"}},
    {"data\\tdf\\finale.tdf", {"data\\model\\pyramid.bmdl"}},
    {"data\\tdf\\backdrop.tdf", {"data\\model\\panel.bmdl"}},
}};

struct LineEntry {
  int line;
  uint32_t start;
  uint32_t end;
  SceneId scene;
};

constexpr int LINE_COUNT = 2;
constexpr std::array<LineEntry, 3> SCENE_LINES = {{{0, 0, 4500, OPENING}, {0, 4000, 8000, FINALE}, {1, 0, 8000, BACKDROP}}};

constexpr uint32_t LAYER_START = 0, LAYER_END = 8000;
constexpr uint32_t GLOW_START = 0, GLOW_END = 8000;
constexpr uint32_t FLASH_START = 6000, FLASH_END = 8000;
constexpr float BACK_WEIGHT[2] = {0.5f, 1.0f};
constexpr float GLOW_STRENGTH = 0.6f;
constexpr float GLOW_TINT[3] = {1.0f, 0.9f, 0.8f};

constexpr float AMBIENT[4] = {0.1f, 0.1f, 0.1f, 0.1f};
constexpr float LIGHT_COLOR[4] = {1.0f, 1.0f, 1.0f, 1.0f};
constexpr float KE[4] = {0.0f, 0.0f, 0.0f, 0.0f};
constexpr float KA[4] = {0.8f, 0.8f, 0.8f, 0.8f};
constexpr float KD[4] = {0.6f, 0.6f, 0.6f, 0.6f};
constexpr float KS[4] = {0.85f, 0.85f, 0.85f, 0.85f};
constexpr float SHININESS = 8.0f;
constexpr float ALPHA_REFERENCE = 0.000001f;
constexpr char GLASS_EFFECT[] = "data\\shader\\glass.cgfx";
// A cut of this name draws the loading bar (a frame, a track and a bar that grows with the phase)
// in fixed function, seen through a 45 degree 4:3 perspective from (0, 0, 10).
constexpr char LOADER_CUT[] = "loader";
constexpr float LOADER_RECTS[3][2] = {{10.0f, 0.8f}, {9.75f, 0.65f}, {9.5f, 0.5f}};

float Degrees(float radians) { return radians * 180.0f / 3.141592f; }

std::string ReadEntry(const char* path) {
  CoreFile file(path, MODE_READ);
  std::string bytes(file.GetSize(), '\0');
  file.Read(bytes.data(), bytes.size());
  return bytes;
}

GLuint CompileStage(GLenum stage, const std::string& glsl, std::string& error) {
  GLuint shader = glCreateShader(stage);
  const char* text = glsl.c_str();
  glShaderSource(shader, 1, &text, nullptr);
  glCompileShader(shader);
  GLint ok = 0;
  glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
  if (!ok) {
    char log[2048] = {};
    glGetShaderInfoLog(shader, sizeof log, nullptr, log);
    error += log;
  }
  return shader;
}

// The program of pass `pass` of the effect file at path, its samplers on units 0, 1, ... in the
// order given.
GLuint BuildProgram(const char* path, int pass, const std::vector<const char*>& samplers, std::string& error) {
  EffectSource source;
  std::string vertex;
  std::string fragment;
  if (!ParseEffect(ReadEntry(path), source) || source.techniques.empty() ||
      pass >= static_cast<int>(source.techniques[0].passes.size())) {
    error = std::string("cannot read ") + path;
    return 0;
  }
  const EffectPass& effectPass = source.techniques[0].passes[static_cast<size_t>(pass)];
  if (!BuildStageSource(source, EffectStage::Vertex, effectPass.vertexEntry, vertex, error) ||
      !BuildStageSource(source, EffectStage::Fragment, effectPass.fragmentEntry, fragment, error)) {
    return 0;
  }
  GLuint program = glCreateProgram();
  glAttachShader(program, CompileStage(GL_VERTEX_SHADER, vertex, error));
  glAttachShader(program, CompileStage(GL_FRAGMENT_SHADER, fragment, error));
  glLinkProgram(program);
  GLint linked = 0;
  glGetProgramiv(program, GL_LINK_STATUS, &linked);
  if (!linked) {
    error += std::string("cannot link ") + path;
    return 0;
  }
  glUseProgram(program);
  for (size_t unit = 0; unit < samplers.size(); ++unit) {
    glUniform1i(glGetUniformLocation(program, samplers[unit]), static_cast<GLint>(unit));
  }
  return program;
}

GLuint MakeTexture(int width, int height, GLenum internalFormat, GLenum format, GLenum type, const void* pixels,
                   GLint filter, GLint wrap) {
  GLuint name = 0;
  glGenTextures(1, &name);
  glBindTexture(GL_TEXTURE_2D, name);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(internalFormat), width, height, 0, format, type, pixels);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrap);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrap);
  glBindTexture(GL_TEXTURE_2D, 0);
  return name;
}

GLuint LoadImageTexture(const std::string& path, GLint filter, GLint wrap) {
  std::string bytes = ReadEntry(path.c_str());
  const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
  ImageData image;
  bool fileAlpha = false;
  bool decoded = PathExtension(path) == "png" ? DecodePng(data, bytes.size(), image)
                                               : DecodeBmp(data, bytes.size(), image, fileAlpha);
  if (!decoded) return 0;
  return MakeTexture(image.width, image.height, image.internalFormat, image.format, image.type, image.pixels.data(),
                     filter, wrap);
}

// An off-screen target: a framebuffer with a colour texture and, when asked, a depth texture.
struct Target {
  GLuint framebuffer = 0;
  GLuint colour = 0;
  GLuint depth = 0;
};

Target MakeTarget(int width, int height, GLenum colourFormat, GLenum colourType, bool withDepth, GLint colourFilter,
                  GLint depthFilter) {
  Target target;
  target.colour = MakeTexture(width, height, colourFormat, GL_RGBA, colourType, nullptr, colourFilter, GL_CLAMP_TO_EDGE);
  glGenFramebuffersEXT(1, &target.framebuffer);
  glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, target.framebuffer);
  glFramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, GL_TEXTURE_2D, target.colour, 0);
  if (withDepth) {
    target.depth = MakeTexture(width, height, GL_DEPTH_COMPONENT, GL_DEPTH_COMPONENT, GL_FLOAT, nullptr, depthFilter,
                               GL_CLAMP_TO_EDGE);
    glFramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, GL_DEPTH_ATTACHMENT_EXT, GL_TEXTURE_2D, target.depth, 0);
  }
  glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
  return target;
}

void DeleteTarget(Target& target) {
  glDeleteFramebuffersEXT(1, &target.framebuffer);
  glDeleteTextures(1, &target.colour);
  if (target.depth) glDeleteTextures(1, &target.depth);
  target = {};
}

// One object's triangles of one material: interleaved texture coordinates, normal, position.
struct MeshPart {
  GLuint buffer = 0;
  GLsizei count = 0;
};

constexpr GLsizei MESH_STRIDE = 8 * sizeof(float);

struct Model {
  ModelData data;
  std::vector<GLuint> textures;  // per material
  std::vector<bool> glass;       // per material: drawn with the glass effect
  std::vector<std::vector<MeshPart>> parts;  // [object][material]
};

MeshPart MakeMeshPart(const ModelObject& object, uint32_t material) {
  std::vector<float> vertices;
  for (const ModelFace& face : object.faces) {
    if (face.material != material || face.cornerCount < 3) continue;
    for (int c = 0; c < 3; ++c) {
      uint32_t v = face.indices[static_cast<size_t>(c)];
      vertices.insert(vertices.end(), {face.uv[static_cast<size_t>(c)][0], face.uv[static_cast<size_t>(c)][1]});
      vertices.insert(vertices.end(), &object.normals[3 * v], &object.normals[3 * v] + 3);
      vertices.insert(vertices.end(), &object.positions[3 * v], &object.positions[3 * v] + 3);
    }
  }
  MeshPart part;
  part.count = static_cast<GLsizei>(vertices.size() / 8);
  if (part.count == 0) return part;
  glGenBuffers(1, &part.buffer);
  glBindBuffer(GL_ARRAY_BUFFER, part.buffer);
  glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertices.size() * sizeof(float)), vertices.data(),
               GL_STATIC_DRAW);
  glBindBuffer(GL_ARRAY_BUFFER, 0);
  return part;
}

struct Scene {
  std::vector<TdfScene> cuts;
  std::vector<Model*> models;  // by slot
  std::vector<CutSpan> spans;
  int64_t range = 0;
};

float Number(TdfTokens& tokens) { return std::strtof(tokens.ReadToken().c_str(), nullptr); }

// Reads "{ v v v ... }" with `width` values per key into the keys' field.
void ReadKeyValues(TdfTokens& tokens, std::vector<TdfKey>& keys, int width, float* (*field)(TdfKey&)) {
  tokens.ReadToken();
  for (TdfKey& key : keys) {
    for (int i = 0; i < width; ++i) field(key)[i] = Number(tokens);
  }
  tokens.ReadToken();
}

// The document reader keeps the parts of a model object only when it has the model itself (it
// checks part names against the model's objects); the plain frame has no engine models, so it
// reads those parts here. Keys: "DataNum" per object, kept from the object before when absent.
void ReadModelParts(const std::string& text, std::vector<TdfScene>& scenes) {
  TdfTokens tokens(text);
  int scene = -1;
  int object = -1;
  size_t keyCount = 0;
  while (!tokens.AtEnd()) {
    std::string token = tokens.ReadToken();
    if (token == "Scene") {
      ++scene;
      object = -1;
    } else if (token == "Object") {
      ++object;
    } else if (token == "DataNum") {
      keyCount = static_cast<size_t>(Number(tokens));
    } else if (token == "Part" && scene >= 0 && object >= 0 && static_cast<size_t>(scene) < scenes.size() &&
               static_cast<size_t>(object) < scenes[static_cast<size_t>(scene)].objects.size()) {
      TdfObject& target = scenes[static_cast<size_t>(scene)].objects[static_cast<size_t>(object)];
      std::string name = tokens.ReadToken();
      name = name.substr(1, name.size() - 2);
      std::vector<TdfKey> keys(keyCount);
      tokens.ReadToken();
      for (token = tokens.ReadToken(); token != "}" && !tokens.AtEnd(); token = tokens.ReadToken()) {
        if (token == "Position") ReadKeyValues(tokens, keys, 3, [](TdfKey& k) { return k.position.data(); });
        if (token == "Rotation") ReadKeyValues(tokens, keys, 3, [](TdfKey& k) { return k.rotation.data(); });
        if (token == "Scale") ReadKeyValues(tokens, keys, 3, [](TdfKey& k) { return k.scale.data(); });
        if (token == "Alpha") ReadKeyValues(tokens, keys, 1, [](TdfKey& k) { return &k.alpha; });
      }
      if (target.modelIndex != TDF_CAMERA_SLOT) target.parts[name] = std::move(keys);
    }
  }
}

struct ModelProgram {
  GLuint program = 0;
  GLint world = -1, view = -1, viewProjection = -1, eye = -1, light = -1, colour = -1, time = -1;
};

ModelProgram MakeModelProgram(const char* path, std::string& error) {
  ModelProgram p;
  p.program = BuildProgram(path, 0, {"shBaseTexture", "shOverlapTexture"}, error);
  if (!p.program) return p;
  p.world = glGetUniformLocation(p.program, "shWorldMat");
  p.view = glGetUniformLocation(p.program, "shViewMat");
  p.viewProjection = glGetUniformLocation(p.program, "shVProjMat");
  p.eye = glGetUniformLocation(p.program, "shEyePos");
  p.light = glGetUniformLocation(p.program, "shLightPos");
  p.colour = glGetUniformLocation(p.program, "shMqoColor");
  p.time = glGetUniformLocation(p.program, "TIME_RATE");
  glUniform4fv(glGetUniformLocation(p.program, "shAmbient"), 1, AMBIENT);
  glUniform4fv(glGetUniformLocation(p.program, "shLightColor"), 1, LIGHT_COLOR);
  glUniform4fv(glGetUniformLocation(p.program, "shKe"), 1, KE);
  glUniform4fv(glGetUniformLocation(p.program, "shKa"), 1, KA);
  glUniform4fv(glGetUniformLocation(p.program, "shKd"), 1, KD);
  glUniform4fv(glGetUniformLocation(p.program, "shKs"), 1, KS);
  glUniform1f(glGetUniformLocation(p.program, "shShininess"), SHININESS);
  return p;
}

// A screen program with its projection fixed to the unit square.
GLuint MakeScreenProgram(const char* path, int pass, const std::vector<const char*>& samplers, std::string& error) {
  GLuint program = BuildProgram(path, pass, samplers, error);
  if (!program) return 0;
  Mat4 projection = Ortho(0.0, 1.0, 0.0, 1.0, -10.0, 10.0);
  glUniformMatrix4fv(glGetUniformLocation(program, "projMat"), 1, GL_FALSE, projection.data());
  return program;
}

}  // namespace

struct PlainFrame::State {
  PlainFrameOptions options;
  platform::HiddenGLContext context;
  std::map<std::string, std::unique_ptr<Model>> models;
  std::array<Scene, SCENE_COUNT> scenes;
  GLuint defaultTexture = 0;
  GLuint noiseTexture = 0;
  Target output, temporary, final;
  std::array<Target, LINE_COUNT> lines;
  Target work0;
  GLuint quads = 0;  // full-screen strip, then the letter-box strip
  ModelProgram lit, glass;
  GLuint msaaCopy = 0;
  GLuint layer = 0, glowBase = 0, glow = 0, flash = 0, passThrough = 0, finalPicture = 0;
  GLint layerTime = -1, flashTime = -1;
  std::span<const JitterPoint> jitter;

  bool Load(std::string& error);
  Model* LoadModel(const std::string& path);
  void LoadScene(SceneId id);
  void RenderLine(const LineEntry& entry, uint32_t t);
  void DrawScene(SceneId id, float phase, const JitterPoint& jitter);
  void DrawLoaderBar(float phase);
  void DrawModel(const Model& model, const TdfObject& animation, float time, const Mat4& base,
                 const Mat4& projection, const float* eye, const float* light);
  void RenderPostEffects(uint32_t t);
  void DrawQuad(int which);
};

Model* PlainFrame::State::LoadModel(const std::string& path) {
  auto found = models.find(path);
  if (found != models.end()) return found->second.get();
  auto model = std::make_unique<Model>();
  if (!ReadModelCache(path, model->data)) return nullptr;
  for (const ModelMaterial& material : model->data.materials) {
    model->textures.push_back(material.texture.empty() ? defaultTexture
                                                       : LoadImageTexture(material.texture, GL_LINEAR, GL_REPEAT));
    model->glass.push_back(material.effect == GLASS_EFFECT);
  }
  for (const ModelObject& object : model->data.objects) {
    std::vector<MeshPart>& parts = model->parts.emplace_back();
    for (uint32_t m = 0; m < model->data.materials.size(); ++m) parts.push_back(MakeMeshPart(object, m));
  }
  return (models[path] = std::move(model)).get();
}

void PlainFrame::State::LoadScene(SceneId id) {
  Scene& scene = scenes[id];
  std::string text = ReadEntry(SCENE_FILES[id].path);
  TdfDocument document;
  document.ParseTdfText(text, NoTdfModels);
  scene.cuts = document.GetScenes();
  ReadModelParts(text, scene.cuts);
  for (const char* path : SCENE_FILES[id].modelSlots) scene.models.push_back(LoadModel(path));
  std::vector<float> lengths;
  for (const TdfScene& cut : scene.cuts) lengths.push_back(SceneCutSeconds(cut));
  scene.spans = BuildCutSpans(lengths);
  scene.range = CutTimelineLength(document);
}

bool PlainFrame::State::Load(std::string& error) {
  int w = options.width;
  int h = options.height;
  if (!context.Create(w, h)) {
    error = context.Error();
    return false;
  }
  if (!OpenPackage(options.packPath.c_str())) {
    error = "cannot open " + options.packPath;
    return false;
  }
  defaultTexture = LoadImageTexture("data\\core\\texture\\defaultTexture.bmp", GL_LINEAR, GL_REPEAT);
  noiseTexture = LoadImageTexture("data\\texture\\noise.png", GL_NEAREST, GL_REPEAT);
  for (int id = 0; id < SCENE_COUNT; ++id) LoadScene(static_cast<SceneId>(id));

  output = MakeTarget(w, h, GL_RGBA8, GL_UNSIGNED_BYTE, true, GL_LINEAR, GL_LINEAR);
  if (options.fsaaLevel > 1) temporary = MakeTarget(w, h, GL_RGBA16F_ARB, GL_FLOAT, false, GL_NEAREST, GL_LINEAR);
  for (Target& line : lines) line = MakeTarget(w, h, GL_RGBA16F_ARB, GL_FLOAT, true, GL_LINEAR, GL_NEAREST);
  work0 = MakeTarget(w, h, GL_RGBA16F_ARB, GL_FLOAT, false, GL_LINEAR, GL_LINEAR);
  final = MakeTarget(w, h, GL_RGBA16F_ARB, GL_FLOAT, false, GL_LINEAR, GL_LINEAR);

  const float strips[2][4][5] = {{{0, 1, 0, 1, 0}, {0, 0, 0, 0, 0}, {1, 1, 1, 1, 0}, {1, 0, 1, 0, 0}},
                                 {{0, 1, 0, 1, 0}, {0, 0, 0, 0, 0}, {1, 1, 1, 1, 0}, {1, 0, 1, 0, 0}}};
  glGenBuffers(1, &quads);
  glBindBuffer(GL_ARRAY_BUFFER, quads);
  glBufferData(GL_ARRAY_BUFFER, sizeof strips, strips, GL_STATIC_DRAW);
  glBindBuffer(GL_ARRAY_BUFFER, 0);

  lit = MakeModelProgram("data\\core\\shader\\defaultShader.cgfx", error);
  glass = MakeModelProgram(GLASS_EFFECT, error);
  msaaCopy = MakeScreenProgram("data\\core\\shader\\msaa.cgfx", 0, {"srcColBuf0"}, error);
  layer = MakeScreenProgram("data\\shader\\layerLines.cgfx", 0, {"frontTex", "frontDepth", "backTex", "noiseTex"}, error);
  if (layer) {
    glUniform2fv(glGetUniformLocation(layer, "backWeight"), 1, BACK_WEIGHT);
    glUniform2f(glGetUniformLocation(layer, "ViewportSize"), static_cast<float>(w), static_cast<float>(h));
    layerTime = glGetUniformLocation(layer, "TIME_RATE_EFFECT");
  }
  glowBase = MakeScreenProgram("data\\shader\\glowComposite.cgfx", 0, {"sceneTex"}, error);
  glow = MakeScreenProgram("data\\shader\\glowComposite.cgfx", 1, {"sceneTex"}, error);
  if (glow) {
    glUniform1f(glGetUniformLocation(glow, "glowStrength"), GLOW_STRENGTH);
    glUniform3fv(glGetUniformLocation(glow, "tint"), 1, GLOW_TINT);
    glUniform2f(glGetUniformLocation(glow, "ViewportSize"), static_cast<float>(w), static_cast<float>(h));
    glUniform1f(glGetUniformLocation(glow, "SCREEN_RATIO_W"), static_cast<float>(w) / 1280.0f);
    glUniform1f(glGetUniformLocation(glow, "SCREEN_RATIO_H"), static_cast<float>(h) / 720.0f);
  }
  flash = MakeScreenProgram("data\\shader\\flash.cgfx", 1, {"sceneTex"}, error);
  if (flash) flashTime = glGetUniformLocation(flash, "TIME_RATE_EFFECT");
  passThrough = MakeScreenProgram("data\\core\\shader\\nullPostEffect.cgfx", 0, {"srcCBuf0"}, error);
  finalPicture = MakeScreenProgram("data\\core\\shader\\finalScreenShader.cgfx", 0, {"shScreenTexture"}, error);
  glUseProgram(0);
  jitter = JitterTableForLevel(options.fsaaLevel);

  glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
  glDepthFunc(GL_LEQUAL);
  glEnable(GL_CULL_FACE);
  glCullFace(GL_BACK);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glEnable(GL_ALPHA_TEST);
  glAlphaFunc(GL_GREATER, ALPHA_REFERENCE);
  glViewport(0, 0, w, h);
  return error.empty() && lit.program && glass.program && msaaCopy && layer && glowBase && glow &&
         flash && passThrough && finalPicture;
}

void PlainFrame::State::DrawQuad(int which) {
  glBindBuffer(GL_ARRAY_BUFFER, quads);
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_TEXTURE_COORD_ARRAY);
  glTexCoordPointer(2, GL_FLOAT, 5 * sizeof(float), nullptr);
  glVertexPointer(3, GL_FLOAT, 5 * sizeof(float), reinterpret_cast<const void*>(2 * sizeof(float)));
  glDrawArrays(GL_TRIANGLE_STRIP, which * 4, 4);
  glDisableClientState(GL_TEXTURE_COORD_ARRAY);
  glDisableClientState(GL_VERTEX_ARRAY);
  glBindBuffer(GL_ARRAY_BUFFER, 0);
}

void PlainFrame::State::DrawModel(const Model& model, const TdfObject& animation, float time, const Mat4& base,
                                  const Mat4& projection, const float* eye, const float* light) {
  std::vector<Mat4> placed;  // by depth: the matrix of the last object placed there
  for (size_t i = 0; i < model.data.objects.size(); ++i) {
    const ModelObject& object = model.data.objects[i];
    size_t depth = std::min<size_t>(object.depth, placed.size());
    placed.resize(depth + 1);
    const Mat4& parent = depth == 0 ? base : placed[depth - 1];
    TdfKey key = animation.GetKey(object.name, time);
    ModelPoint pivot = model.data.FindNamedPoint(object.name);
    Mat4 place = Translate(pivot[0], pivot[1], -pivot[2]);
    place = Multiply(place, Translate(key.position[0], key.position[1], -key.position[2]));
    place = Multiply(place, Rotate(Degrees(key.rotation[2]), 0, 0, 1));
    place = Multiply(place, Rotate(-Degrees(key.rotation[1]), 0, 1, 0));
    place = Multiply(place, Rotate(-Degrees(key.rotation[0]), 1, 0, 0));
    place = Multiply(place, Scale(key.scale[0], key.scale[1], key.scale[2]));
    place = Multiply(place, Translate(-pivot[0], -pivot[1], pivot[2]));
    placed[depth] = Multiply(parent, place);
    Mat4 viewProjection = Multiply(projection, placed[depth]);

    for (size_t m = 0; m < model.parts[i].size(); ++m) {
      const MeshPart& part = model.parts[i][m];
      if (part.count == 0) continue;
      const ModelProgram& p = model.glass[m] ? glass : lit;
      if (model.glass[m]) glDisable(GL_CULL_FACE);
      glUseProgram(p.program);
      glUniformMatrix4fv(p.world, 1, GL_FALSE, placed[depth].data());
      glUniformMatrix4fv(p.view, 1, GL_FALSE, placed[depth].data());
      glUniformMatrix4fv(p.viewProjection, 1, GL_FALSE, viewProjection.data());
      glUniform3fv(p.eye, 1, eye);
      glUniform3fv(p.light, 1, light);
      const auto& c = model.data.materials[m].color;
      glUniform4f(p.colour, c[0], c[1], c[2], c[3] * key.alpha);
      glUniform1f(p.time, time);
      glActiveTexture(GL_TEXTURE1);
      glBindTexture(GL_TEXTURE_2D, defaultTexture);
      glActiveTexture(GL_TEXTURE0);
      glBindTexture(GL_TEXTURE_2D, model.textures[m]);
      glBindBuffer(GL_ARRAY_BUFFER, part.buffer);
      glTexCoordPointer(2, GL_FLOAT, MESH_STRIDE, nullptr);
      glNormalPointer(GL_FLOAT, MESH_STRIDE, reinterpret_cast<const void*>(2 * sizeof(float)));
      glVertexPointer(3, GL_FLOAT, MESH_STRIDE, reinterpret_cast<const void*>(5 * sizeof(float)));
      glDrawArrays(GL_TRIANGLES, 0, part.count);
      if (model.glass[m]) glEnable(GL_CULL_FACE);
    }
  }
  glBindBuffer(GL_ARRAY_BUFFER, 0);
}

void PlainFrame::State::DrawScene(SceneId id, float phase, const JitterPoint& offset) {
  static const TdfObject stillCamera;
  const Scene& scene = scenes[id];
  CutChoice choice = ChooseCut(scene.spans, phase, scene.range);
  if (choice.index < 0) return;
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  const TdfScene& cut = scene.cuts[static_cast<size_t>(choice.index)];
  if (cut.name == LOADER_CUT) {
    DrawLoaderBar(choice.phase);
    return;
  }
  float time = choice.phase * SceneLength(cut);
  SceneCamera camera = EvaluateSceneCamera(cut.objects.empty() ? stillCamera : cut.objects.front(), time);
  double width = 2 * camera.halfWidth;
  double height = 2 * camera.halfHeight;
  double dx = -(width * offset.x / options.width);
  double dy = -(height * offset.y / options.height);
  Mat4 projection = Frustum(-camera.halfWidth + dx, camera.halfWidth + dx, -camera.halfHeight + dy,
                            camera.halfHeight + dy, SCENE_NEAR_PLANE, SCENE_FAR_PLANE);
  const auto& e = camera.eye.position;
  const auto& target = camera.lookAt.position;
  Mat4 view = Multiply(Rotate(camera.rollDegrees, 0, 0, 1),
                       LookAt({e[0], e[1], -e[2]}, {target[0], target[1], -target[2]}, {0, 1, 0}));
  const float eye[3] = {e[0], e[1], e[2]};
  const float light[3] = {-e[0], -e[1], -e[2]};
  const Mat4 frontView = LookAt({0, 0, -1}, {0, 0, 1}, {0, 1, 0});
  const float frontEye[3] = {0, 0, -1};
  const float frontLight[3] = {0, 1000, 1000};

  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_NORMAL_ARRAY);
  glEnableClientState(GL_TEXTURE_COORD_ARRAY);
  for (size_t j = 1; j < cut.objects.size(); ++j) {
    const TdfObject& object = cut.objects[j];
    if (object.modelIndex < 0 || static_cast<size_t>(object.modelIndex) >= scene.models.size()) continue;
    const Model* model = scene.models[static_cast<size_t>(object.modelIndex)];
    if (!model || object.Visible != 1) continue;
    bool followsCamera = object.CameraTrans != 0;
    if (!followsCamera) glDisable(GL_DEPTH_TEST);
    DrawModel(*model, object, time, followsCamera ? view : frontView, projection, followsCamera ? eye : frontEye,
              followsCamera ? light : frontLight);
    if (!followsCamera) glEnable(GL_DEPTH_TEST);
  }
  glDisableClientState(GL_TEXTURE_COORD_ARRAY);
  glDisableClientState(GL_NORMAL_ARRAY);
  glDisableClientState(GL_VERTEX_ARRAY);
}

void PlainFrame::State::DrawLoaderBar(float phase) {
  double top = std::tan(45.0 * 3.14159265358979323846 / 360.0);
  double right = top * (4.0 / 3.0);
  Mat4 projection = Frustum(-right, right, -top, top, 1.0, 1000.0);
  Mat4 view = LookAt({0, 0, 10}, {0, 0, 0}, {0, 1, 0});
  glUseProgram(0);
  glMatrixMode(GL_PROJECTION);
  glLoadMatrixf(projection.data());
  glMatrixMode(GL_MODELVIEW);
  glLoadMatrixf(view.data());
  glEnableClientState(GL_VERTEX_ARRAY);
  for (int r = 0; r < 3; ++r) {
    float w = (r == 2 ? phase : 1.0f) * LOADER_RECTS[r][0] / 2.0f;
    float h = LOADER_RECTS[r][1] / 2.0f;
    const float strip[4][3] = {{-w, h, 0}, {-w, -h, 0}, {w, h, 0}, {w, -h, 0}};
    float shade = r == 1 ? 0.0f : 1.0f;
    glColor3f(shade, shade, shade);
    glVertexPointer(3, GL_FLOAT, 0, strip);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
  }
  glDisableClientState(GL_VERTEX_ARRAY);
}

// The first sample straight into the line buffer; each later one into the temporary buffer and
// added, the last add weighing both sides by 1 / N, which divides (exactly, for 2, 4 and 8).
void PlainFrame::State::RenderLine(const LineEntry& entry, uint32_t t) {
  const Target& line = lines[static_cast<size_t>(entry.line)];
  int samples = std::max(options.fsaaLevel, 1);
  float phase = static_cast<float>(t - entry.start) / static_cast<float>(entry.end - entry.start);
  for (int k = samples - 1; k >= 0; --k) {
    const bool first = k == samples - 1;
    if (first) {
      glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, line.framebuffer);
    } else {
      glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, temporary.framebuffer);
      glFramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, GL_DEPTH_ATTACHMENT_EXT, GL_TEXTURE_2D, line.depth, 0);
    }
    glEnable(GL_DEPTH_TEST);
    DrawScene(entry.scene, phase, jitter[static_cast<size_t>(k) % jitter.size()]);
    glDisable(GL_DEPTH_TEST);
    if (first) continue;

    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, line.framebuffer);
    if (k == 0) {
      const float weight = 1.0f / static_cast<float>(samples);
      glBlendColor(weight, weight, weight, weight);
      glBlendFunc(GL_CONSTANT_COLOR, GL_CONSTANT_COLOR);
    } else {
      glBlendFunc(GL_ONE, GL_ONE);
    }
    glUseProgram(msaaCopy);
    glBindTexture(GL_TEXTURE_2D, temporary.colour);
    DrawQuad(0);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  }
}

void PlainFrame::State::RenderPostEffects(uint32_t t) {
  glDisable(GL_BLEND);
  glDisable(GL_DEPTH_TEST);
  bool any = false;
  if (t >= LAYER_START && t <= LAYER_END) {
    any = true;
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, work0.framebuffer);
    glUseProgram(layer);
    glUniform1f(layerTime, static_cast<float>(t - LAYER_START) / static_cast<float>(LAYER_END - LAYER_START));
    const GLuint textures[4] = {lines[0].colour, lines[0].depth, lines[1].colour, noiseTexture};
    for (int unit = 3; unit >= 0; --unit) {
      glActiveTexture(static_cast<GLenum>(GL_TEXTURE0 + unit));
      glBindTexture(GL_TEXTURE_2D, textures[unit]);
    }
    DrawQuad(0);
  }
  // The flash replaces the final buffer without reading it: under it the glow is not drawn.
  const bool flashing = t >= FLASH_START && t <= FLASH_END;
  if (t >= GLOW_START && t <= GLOW_END && !flashing) {
    any = true;
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, final.framebuffer);
    glBindTexture(GL_TEXTURE_2D, work0.colour);
    glUseProgram(glowBase);
    DrawQuad(0);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    glUseProgram(glow);
    DrawQuad(0);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDisable(GL_BLEND);
  }
  if (flashing) {
    any = true;
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, final.framebuffer);
    glBindTexture(GL_TEXTURE_2D, work0.colour);
    glUseProgram(flash);
    glUniform1f(flashTime, static_cast<float>(t - FLASH_START) / static_cast<float>(FLASH_END - FLASH_START));
    DrawQuad(0);
  }
  if (!any) {
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, final.framebuffer);
    glBindTexture(GL_TEXTURE_2D, lines[0].colour);
    glUseProgram(passThrough);
    DrawQuad(0);
  }
  glEnable(GL_BLEND);
}

PlainFrame::PlainFrame() = default;

PlainFrame::~PlainFrame() { Stop(); }

bool PlainFrame::Start(const PlainFrameOptions& options, std::string& error) {
  Stop();
  mState = std::make_unique<State>();
  mState->options = options;
  if (!mState->Load(error)) {
    Stop();
    return false;
  }
  return true;
}

std::vector<uint8_t> PlainFrame::RenderFrame(uint32_t t) {
  State& s = *mState;
  int w = s.options.width;
  int h = s.options.height;
  for (int line = 0; line < LINE_COUNT; ++line) {
    for (const LineEntry& entry : SCENE_LINES) {
      if (entry.line != line || t < entry.start || t > entry.end) continue;
      s.RenderLine(entry, t);
      break;
    }
  }
  s.RenderPostEffects(t);

  // A 16:9 picture fills the window: no border, and no colour to clear under it.
  glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, s.output.framebuffer);
  glClear(GL_DEPTH_BUFFER_BIT);
  glDisable(GL_BLEND);
  glUseProgram(s.finalPicture);
  glBindTexture(GL_TEXTURE_2D, s.final.colour);
  s.DrawQuad(1);
  glEnable(GL_BLEND);
  glUseProgram(0);

  std::vector<uint8_t> bottomFirst(static_cast<size_t>(w) * h * 4);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, bottomFirst.data());
  glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
  std::vector<uint8_t> pixels(bottomFirst.size());
  size_t rowBytes = static_cast<size_t>(w) * 4;
  for (int row = 0; row < h; ++row) {
    std::copy_n(bottomFirst.data() + (h - 1 - row) * rowBytes, rowBytes, pixels.data() + row * rowBytes);
  }
  return pixels;
}

void PlainFrame::Stop() {
  if (!mState) return;
  if (mState->context.IsCreated()) {
    for (auto& [path, model] : mState->models) {
      for (auto& parts : model->parts) {
        for (MeshPart& part : parts) glDeleteBuffers(1, &part.buffer);
      }
    }
    DeleteTarget(mState->output);
    DeleteTarget(mState->temporary);
    DeleteTarget(mState->final);
    DeleteTarget(mState->work0);
    for (Target& line : mState->lines) DeleteTarget(line);
  }
  if (PackageIsOpen()) ClosePackage();
  mState.reset();
}
