#include "render/drawing_path.h"

#include "render/effect/glsl_dialect.h"

namespace render {

namespace {

#ifdef TORVANE_WEBGL
constexpr DrawingPath THE_ONLY_PATH = DrawingPath::WebGl2;
DrawingPath gPath = THE_ONLY_PATH;
#else
DrawingPath gPath = DrawingPath::FixedFunction;
#endif

}  // namespace

void SelectDrawingPath(DrawingPath path) {
#ifdef TORVANE_WEBGL
  path = THE_ONLY_PATH;
#endif
  gPath = path;
  SelectGlslDialect(path == DrawingPath::WebGl2 ? GlslDialect::GlslEs300 : GlslDialect::Glsl120);
}

DrawingPath SelectedDrawingPath() { return gPath; }

}  // namespace render
