#pragma once
// The matrix stacks that scenes and screen passes place their drawing with: GL's own on the
// fixed-function path, the engine's on the WebGL 2 path (render/drawing_path.h). Every function
// works on the stack selected last, as GL's own do.

enum class MatrixStack { Projection, Modelview };

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
// How many more matrices the model-view stack takes.
int ModelviewStackRoom();
// The GL enumerant of a stack, for the commands recorded for later replay, and back.
unsigned MatrixStackMode(MatrixStack stack);
MatrixStack MatrixStackOfMode(unsigned mode);
