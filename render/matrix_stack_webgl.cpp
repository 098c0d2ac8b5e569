#include <vector>

#include "render/effect/es_fixed_state.h"
#include "render/matrix_stack_paths.h"

namespace webgl {

namespace {

// As deep as GL's own model-view stack is at least.
constexpr size_t STACK_DEPTH = 32;

struct Matrix {
  double m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
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

// Programs are handed floats, as GL's own matrices are.
void Publish() {
  Stacks& stacks = TheStacks();
  render::EsFixedState& state = render::CurrentEsFixedState();
  for (int i = 0; i < 16; ++i) {
    state.projection[i] = static_cast<float>(stacks.projection.back().m[i]);
    state.modelView[i] = static_cast<float>(stacks.modelview.back().m[i]);
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

void MultiplyMatrix(const double* m) {
  Matrix& top = TheStacks().Selected().back();
  Matrix product;
  for (int column = 0; column < 4; ++column) {
    for (int row = 0; row < 4; ++row) {
      double sum = 0;
      for (int k = 0; k < 4; ++k) sum += top.m[k * 4 + row] * m[column * 4 + k];
      product.m[column * 4 + row] = sum;
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
