#pragma once
// The language effects are built in from now on: GLSL 1.20 for the fixed-function pipeline, or
// its GLSL ES 3.00 translation for the WebGL 2 drawing path (the only one the web build has).
// Effects built before a change keep theirs.

namespace render {

enum class GlslDialect { Glsl120, GlslEs300 };

void SelectGlslDialect(GlslDialect dialect);
GlslDialect SelectedGlslDialect();

}  // namespace render
