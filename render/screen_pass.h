#pragma once
// The steps a frame is composed of, as the composition and the loading screen take them: choose
// the target, clear it, draw full-screen quads in a unit square, flush. Each is one small run of
// GL state changes kept in the order the pictures depend on.

// Draws into framebuffer (0: the window) from now on; nothing where framebuffer objects are missing.
void BindFramebuffer(unsigned framebuffer);
inline void BindWindowFramebuffer() { BindFramebuffer(0); }
void SetViewport(int width, int height);

void SetClearColour(float red, float green, float blue, float alpha);
// The alpha that a colour clear writes.
float ClearColourAlpha();
void ClearColourAndDepth();
void ClearDepth();
// Hands the drawing so far to the GPU.
void FlushDrawing();

// Both matrices to identity, the model-view one left selected.
void ResetMatrices();
// Both matrices pushed and set to identity, the model-view one left selected.
void PushIdentityMatrices();
// Undoes PushIdentityMatrices, model-view first, leaving the projection selected.
void PopMatricesToProjection();

// A pass of full-screen quads over the unit square: blending off, both matrices pushed, the
// projection an orthographic unit square, the model-view one identity and selected.
void BeginScreenPass();
// Pops both, turns blending on again and flushes.
void EndScreenPass();
// The same without the flush: what follows the final screen (a swap or a read-back) waits for it.
void EndFinalScreenPass();

// Until destroyed, the blend weighs source and destination each by weight (a constant colour);
// the blend colour is put back then, the blend function is the pass's to restore.
class ConstantBlendWeight {
 public:
  explicit ConstantBlendWeight(float weight);
  ~ConstantBlendWeight();
  ConstantBlendWeight(const ConstantBlendWeight&) = delete;
  ConstantBlendWeight& operator=(const ConstantBlendWeight&) = delete;

 private:
  float mPrevious[4] = {};
};
