#include "render/effect/glsl_dialect.h"

namespace render {

namespace {

#ifdef TORVANE_WEBGL
GlslDialect gDialect = GlslDialect::GlslEs300;
#else
GlslDialect gDialect = GlslDialect::Glsl120;
#endif

}  // namespace

void SelectGlslDialect(GlslDialect dialect) { gDialect = dialect; }

GlslDialect SelectedGlslDialect() { return gDialect; }

}  // namespace render
