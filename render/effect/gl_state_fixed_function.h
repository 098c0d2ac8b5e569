#pragma once
// The render states that only the fixed-function pipeline has a call for; the web build leaves
// them out (the WebGL 2 path keeps or drops them, see gl_state.cpp).

// Sets state when it is one of them (alpha function, polygon mode, point size); false otherwise.
bool WriteFixedFunctionState(int state, const double* values);
