#include <vector>

#include "render/effect/es_fixed_state.h"
#include "render/matrix_stack_paths.h"

namespace webgl {

namespace {

// As deep as GL's own model-view stack is at least.
constexpr size_t STACK_DEPTH = 32;

struct Matrix {
  float m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
};

struct Stacks {
  std::vector<Matrix> projection{Matrix{}};
  std::vector<Matrix> modelview{Matrix{}};
  MatrixStack selected = MatrixStack::Modelview;

  std::vector<Matrix>& Selected() { return selected == MatrixStack::Projection ? projection : modelview; }
};

Stacks& TheStacks() {
  static Stacks stacks;
  return stacks;
}

void Publish() {
  Stacks& stacks = TheStacks();
  render::EsFixedState& state = render::CurrentEsFixedState();
  for (int i = 0; i < 16; ++i) {
    state.projection[i] = stacks.projection.back().m[i];
    state.modelView[i] = stacks.modelview.back().m[i];
  }
}

}  // namespace

void SelectMatrixStack(MatrixStack stack) { TheStacks().selected = stack; }

void PushMatrix() {
  std::vector<Matrix>& stack = TheStacks().Selected();
  if (stack.size() < STACK_DEPTH) stack.push_back(stack.back());
}

void PopMatrix() {
  std::vector<Matrix>& stack = TheStacks().Selected();
  if (stack.size() > 1) stack.pop_back();
  Publish();
}

void LoadIdentityMatrix() {
  TheStacks().Selected().back() = Matrix{};
  Publish();
}

void MultiplyMatrix(const float* m) {
  Matrix& top = TheStacks().Selected().back();
  Matrix product;
  // Summed left to right, as GL does.
  for (int column = 0; column < 4; ++column) {
    for (int row = 0; row < 4; ++row) {
      const float* b = m + column * 4;
      product.m[column * 4 + row] =
          top.m[row] * b[0] + top.m[4 + row] * b[1] + top.m[8 + row] * b[2] + top.m[12 + row] * b[3];
    }
  }
  top = product;
  Publish();
}

void ResetMatrixStacks() {
  TheStacks() = Stacks{};
  Publish();
}

int ModelviewStackRoom() { return static_cast<int>(STACK_DEPTH - TheStacks().modelview.size()); }

}  // namespace webgl
