#pragma once
// The value of a constant GLSL expression, as uniform initialisers are written: numbers, true and
// false, + - * / (component-wise, a scalar spread over a vector), brackets, and the constructors
// of the scalar, vector and matrix types. Pure.

#include <string_view>
#include <vector>

namespace render {

// Fills components (matrices column by column); false when expression is anything else.
bool EvaluateConstant(std::string_view expression, std::vector<float>& components);

}  // namespace render
