#pragma once
// The matrix stacks of each drawing path, which matrix_stack.h's functions choose between.

#include "render/matrix_stack.h"

namespace fixed_function {

void SelectMatrixStack(MatrixStack stack);
void PushMatrix();
void PopMatrix();
void LoadIdentityMatrix();
void TranslateMatrix(float x, float y, float z);
void RotateMatrix(float degrees, float x, float y, float z);
void ScaleMatrix(float x, float y, float z);
void MultiplyOrtho(double left, double right, double bottom, double top, double nearPlane, double farPlane);
void MultiplyFrustum(double left, double right, double bottom, double top, double nearPlane, double farPlane);
void MultiplyPerspective(double fovYDegrees, double aspect, double nearPlane, double farPlane);
void MultiplyLookAt(double eyeX, double eyeY, double eyeZ, double centreX, double centreY, double centreZ, double upX,
                    double upY, double upZ);
int ModelviewStackRoom();

}  // namespace fixed_function

// The engine's own stacks, their tops kept where programs are handed them (render/effect/es_fixed_state.h).
namespace webgl {

void SelectMatrixStack(MatrixStack stack);
void PushMatrix();
void PopMatrix();
void LoadIdentityMatrix();
// Multiplies the selected matrix by m (columns, as GL keeps them) on the right, in float, as
// glMultMatrixf does.
void MultiplyMatrix(const float* m);
int ModelviewStackRoom();
// Both stacks back to one identity matrix, the model-view one selected, as a new context has them.
void ResetMatrixStacks();

}  // namespace webgl
