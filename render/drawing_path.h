#pragma once
// How frames are drawn: the OpenGL 2.0 fixed-function pipeline the player is made for, or the
// WebGL 2 path (the only one the web build has, selectable natively to compare the two): vertex
// buffers and explicit attributes instead of client arrays and display lists, the engine's own
// matrices and alpha test handed to every program, a small program of its own where no effect
// draws, effects built as GLSL ES 3.00, framebuffers through their core names. Chosen once at
// start, before any effect, list or buffer is made.

namespace render {

enum class DrawingPath { FixedFunction, WebGl2 };

void SelectDrawingPath(DrawingPath path);
DrawingPath SelectedDrawingPath();

#ifdef TORVANE_WEBGL
constexpr bool OnWebGl2Path() { return true; }
#else
inline bool OnWebGl2Path() { return SelectedDrawingPath() == DrawingPath::WebGl2; }
#endif

}  // namespace render

// Calls fixed_function::CALL or webgl::CALL, whichever the selected path draws with; the web
// build has only the latter. TORVANE_FIXED_FUNCTION_ONLY calls fixed_function::CALL on that path
// alone.
#ifdef TORVANE_WEBGL
#define TORVANE_ON_DRAWING_PATH(CALL) webgl::CALL
#define TORVANE_FIXED_FUNCTION_ONLY(CALL)
#else
#define TORVANE_ON_DRAWING_PATH(CALL) (render::OnWebGl2Path() ? webgl::CALL : fixed_function::CALL)
#define TORVANE_FIXED_FUNCTION_ONLY(CALL) \
  if (!render::OnWebGl2Path()) fixed_function::CALL
#endif
