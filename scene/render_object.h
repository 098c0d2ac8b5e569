#pragma once
// cRenderObject: the base of everything that draws geometry through an effect. It owns the
// multi-pass loop (per pass: pass state, standard parameters, geometry, flush, reset) and the
// standard parameters every effect of a production may read. Also here: the process-wide eye and
// light positions, a centred rectangle, and the sub-pixel-shifted frustum of supersampling.

#include <vector>

#include "core/runtime_class.h"

class resShader;

// One vertex of the immediate lists: texture coordinate, normal, position (GL_T2F_N3F_V3F).
struct RenderVertex {
  float s, t;
  float nx, ny, nz;
  float x, y, z;
};

struct Vec3f {
  float x, y, z;
};

// Handed to every effect as "shEyePos" and "shLightPos"; the animated scene renderer sets them.
extern Vec3f eyePosition;
extern Vec3f lightPosition;

// The pixel size that SetJitteredFrustum divides by; the frame composition sets it to the
// buffers' size.
void SetJitterViewport(double width, double height);

class cRenderObject : public CoreObject {
  CORE_DECLARE_DYNAMIC(cRenderObject)
  cRenderObject() = default;
  ~cRenderObject() override = default;

  // setPassState on the current effect, then the standard parameters.
  virtual void BeginPass(int pass);
  // The multi-pass loop over the object's effect; returns the pass count. Without an effect the
  // geometry is drawn once with pass 0 and no parameters are set.
  virtual int Draw(float time);
  // Draws and empties the immediate lists, then resetPassState on the current effect.
  virtual void EndPass(int pass);
  virtual resShader* GetEffect() const { return mEffect; }
  // The effect to draw with; not owned.
  virtual void SetEffect(resShader* effect) { mEffect = effect; }
  // The object's own geometry for one pass; nothing in the base.
  virtual void DrawGeometry(int pass);

  // Immediate geometry, drawn at the end of the next pass: independent triangles and one fan.
  std::vector<RenderVertex>& Triangles() { return mTriangles; }
  std::vector<RenderVertex>& Fan() { return mFan; }

 private:
  std::vector<RenderVertex> mTriangles;
  std::vector<RenderVertex> mFan;
  resShader* mEffect = nullptr;
};

// Sets "shWorldMat", "shViewMat" and "shVProjMat" on the current effect from the current GL
// matrices.
void SetStandardMatrices();

// Sets the standard parameters ("shWorldMat", "shViewMat", "shVProjMat", the fixed material, eye
// and light) on the current effect, from the current GL matrices.
void SetStandardParameters();

// A width × height rectangle centred on the origin in z = 0, texture coordinates 0 to 1 across
// it, in the current colour.
void DrawCenteredRect(float width, float height);

// Loads a perspective frustum into the projection matrix shifted by jitter (pixels) over the
// jitter viewport, then selects the model-view matrix again.
void SetJitteredFrustum(const double jitter[2], double left, double right, double bottom, double top, double nearPlane,
                        double farPlane);

// The sub-pixel offset of the supersampling sample being rendered, in pixels; the animated scene
// renderer shifts its frustum by it. (0, 0) outside supersampling.
void SetCurrentJitter(double x, double y);
const double* CurrentJitter();
