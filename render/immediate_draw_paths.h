#pragma once
// The immediate drawing and display lists of each drawing path, which immediate_draw.h's and
// display_list.h's functions choose between.

#include <GL/glew.h>

#include <cstddef>
#include <functional>

#include "render/immediate_draw.h"

namespace fixed_function {

void DrawTexturedLitVertices(const float* vertices, size_t count, GLenum mode);
void DrawTexturedStrip(const float (&strip)[4][5]);
void DrawPositionStrip(const float (&strip)[4][3]);
void DrawTriangleArrays(const float* positions, const float* normals, const float* uvs, size_t count);
void SetColour(float red, float green, float blue, float alpha);
void SetTexturing(bool enabled);
void SetAlphaTest(bool enabled, GLenum compareFunction, float reference);
// No texture coordinate generation, one-sided lighting turned off, colour material on.
void SetUnlitState();
// Textures multiply the colour (the texture environment of the texture unit).
void SetModulatingTextures();

unsigned CompileList(const std::function<void()>& draw);
void CallList(unsigned list);
void DeleteList(unsigned list);

}  // namespace fixed_function

namespace webgl {

// Vertices as GL_T2F_N3F_V3F lays them out: texture coordinate, normal, position.
constexpr size_t FLOATS_PER_VERTEX = 8;

// Which inputs a run of vertices gives; the others read the values GL would have current.
struct VertexInputs {
  bool normals = true;
  bool uvs = true;
};

// Draws count vertices (FLOATS_PER_VERTEX floats each) with the current program, or with the
// path's own one where no effect is set; while a display list records, they are added to it.
void DrawVertices(GLenum mode, const float* vertices, size_t count, VertexInputs inputs);
void SetColour(float red, float green, float blue, float alpha);
void SetTexturing(bool enabled);
void SetAlphaTest(bool enabled, GLenum compareFunction, float reference);

// A display list: vertex runs in one buffer.
unsigned BeginList();
void EndList();
void CallList(unsigned list);
void DeleteList(unsigned list);

// Gives back the buffers and the program the path made on the current context, and puts the
// state it keeps back to what a new context has.
void ReleaseDrawingResources();

}  // namespace webgl
