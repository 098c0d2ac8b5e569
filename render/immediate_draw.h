#pragma once
// Geometry drawn at once from client memory, and the few fixed-function states that such drawing
// sets around it, on the selected drawing path (render/drawing_path.h). The arrays are read during
// the call only.

#include <cstddef>

enum class Primitive { Triangles, TriangleFan, TriangleStrip };

// count vertices of eight floats each: texture coordinate (2), normal (3), position (3).
void DrawTexturedLitVertices(const float* vertices, size_t count, Primitive primitive);
// A strip of four vertices of five floats each: texture coordinate (2), position (3).
void DrawTexturedStrip(const float (&strip)[4][5]);
// A strip of four positions.
void DrawPositionStrip(const float (&strip)[4][3]);
// Separate arrays of count triangle corners: positions (3 floats), normals (3), texture
// coordinates (2).
void DrawTriangleArrays(const float* positions, const float* normals, const float* uvs, size_t count);

void SetColour(float red, float green, float blue, float alpha = 1.0f);
// While on, drawing without an effect is coloured by the 2D texture bound to unit 0, times the colour.
void SetTexturing(bool enabled);
// While on, fragments whose alpha fails the comparison (a GL compare function) with reference are dropped.
void SetAlphaTest(bool enabled, unsigned compareFunction = 0x0207 /* GL_ALWAYS */, float reference = 0.0f);
void SetDepthTest(bool enabled);
