#include "scene/render_object.h"

#include "render/effect/effect.h"
#include "render/shader_manager.h"
#include "resources/res_shader.h"
#include "render/immediate_draw.h"
#include "render/matrix_stack.h"

CORE_IMPLEMENT_DYNAMIC(cRenderObject, CoreObject)

Vec3f eyePosition = {0.0f, 0.0f, 0.0f};
Vec3f lightPosition = {0.0f, 0.0f, 0.0f};

namespace {

double gJitterViewport[2] = {1.0, 1.0};
double gCurrentJitter[2] = {0.0, 0.0};

constexpr float AMBIENT[4] = {0.1f, 0.1f, 0.1f, 0.1f};
constexpr float LIGHT_COLOR[4] = {1.0f, 1.0f, 1.0f, 1.0f};
constexpr float KE[4] = {0.0f, 0.0f, 0.0f, 0.0f};
constexpr float KA[4] = {0.8f, 0.8f, 0.8f, 0.8f};
constexpr float KD[4] = {0.6f, 0.6f, 0.6f, 0.6f};
constexpr float KS[4] = {0.85f, 0.85f, 0.85f, 0.85f};
constexpr float SHININESS = 8.0f;

static_assert(sizeof(RenderVertex) == 8 * sizeof(float), "a vertex is eight floats, as drawn");

void DrawList(std::vector<RenderVertex>& vertices, Primitive primitive) {
  if (vertices.empty()) return;
  DrawTexturedLitVertices(&vertices.front().s, vertices.size(), primitive);
  vertices.clear();
}

}  // namespace

void SetJitterViewport(double width, double height) {
  gJitterViewport[0] = width;
  gJitterViewport[1] = height;
}

void SetCurrentJitter(double x, double y) {
  gCurrentJitter[0] = x;
  gCurrentJitter[1] = y;
}

const double* CurrentJitter() { return gCurrentJitter; }

void SetStandardMatrices() {
  resShader* effect = gShaderManager.GetCurrentEffect();
  if (!effect) return;
  effect->setStateMatrix("shWorldMat", STATE_MATRIX_MODELVIEW | STATE_MATRIX_IDENTITY);
  effect->setStateMatrix("shViewMat", STATE_MATRIX_MODELVIEW | STATE_MATRIX_IDENTITY);
  effect->setStateMatrix("shVProjMat", STATE_MATRIX_MODELVIEW_PROJECTION);
}

void SetStandardParameters() {
  resShader* effect = gShaderManager.GetCurrentEffect();
  if (!effect) return;
  SetStandardMatrices();
  effect->setParameter("shAmbient", AMBIENT);
  effect->setParameter("shLightColor", LIGHT_COLOR);
  effect->setParameter("shKe", KE);
  effect->setParameter("shKa", KA);
  effect->setParameter("shKd", KD);
  effect->setParameter("shKs", KS);
  effect->setParameter("shShininess", &SHININESS);
  effect->setParameter("shEyePos", &eyePosition);
  effect->setParameter("shLightPos", &lightPosition);
}

void cRenderObject::BeginPass(int pass) {
  if (resShader* effect = gShaderManager.GetCurrentEffect()) effect->setPassState(pass);
  SetStandardParameters();
}

int cRenderObject::Draw(float) {
  if (!mEffect) {
    DrawGeometry(0);
    return 0;
  }
  gShaderManager.SetCurrentEffect(mEffect);
  int pass = 0;
  for (; pass < mEffect->passCount(); ++pass) {
    mEffect->setPassState(pass);
    BeginPass(pass);
    DrawGeometry(pass);
    EndPass(pass);
    mEffect->resetPassState(pass);
  }
  return pass;
}

void cRenderObject::EndPass(int pass) {
  DrawList(mTriangles, Primitive::Triangles);
  DrawList(mFan, Primitive::TriangleFan);
  if (resShader* effect = gShaderManager.GetCurrentEffect()) effect->resetPassState(pass);
}

void cRenderObject::DrawGeometry(int) {}

void DrawCenteredRect(float width, float height) {
  float w = width / 2.0f;
  float h = height / 2.0f;
  const float strip[4][5] = {
      {0.0f, 1.0f, -w, h, 0.0f}, {0.0f, 0.0f, -w, -h, 0.0f}, {1.0f, 1.0f, w, h, 0.0f}, {1.0f, 0.0f, w, -h, 0.0f}};
  DrawTexturedStrip(strip);
}

void SetJitteredFrustum(const double jitter[2], double left, double right, double bottom, double top, double nearPlane,
                        double farPlane) {
  double dx = -((right - left) * jitter[0] / gJitterViewport[0]);
  double dy = -((top - bottom) * jitter[1] / gJitterViewport[1]);
  SelectMatrixStack(MatrixStack::Projection);
  LoadIdentityMatrix();
  MultiplyFrustum(left + dx, right + dx, bottom + dy, top + dy, nearPlane, farPlane);
  SelectMatrixStack(MatrixStack::Modelview);
}
