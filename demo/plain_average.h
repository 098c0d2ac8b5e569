#pragma once
// Whether a supersampling effect does exactly the plain average whose passes frame composition
// knows how to draw with fewer passes: pass 0 copies "srcColBuf0" without blending, pass 1 adds
// it (blend One, One) and pass 2 multiplies the target by 1 / "div" (blend Zero, SrcColor).
// The effect is content, so this compares what its passes do (their GLSL, states and uniforms)
// with the engine's own definition of those passes, never its file name.

class cEffect;

bool IsPlainAverage(const cEffect& effect);
