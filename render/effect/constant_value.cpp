#include "render/effect/constant_value.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <string>

namespace render {

namespace {

// Deeper nesting is refused: it would only wear down the stack.
constexpr int MAX_DEPTH = 64;

struct Value {
  std::vector<float> components;
  int columns = 0;  // a matrix's column count, 0 for scalars and vectors
};

// How many components a constructor makes, and its columns when it makes a matrix.
bool ConstructorShape(std::string_view type, size_t& size, int& columns) {
  columns = 0;
  if (type == "float" || type == "int" || type == "bool") {
    size = 1;
    return true;
  }
  for (std::string_view prefix : {"vec", "ivec", "bvec"}) {
    if (type.size() == prefix.size() + 1 && type.substr(0, prefix.size()) == prefix) {
      size = static_cast<size_t>(type.back() - '0');
      return size >= 2 && size <= 4;
    }
  }
  if (type.size() == 4 && type.substr(0, 3) == "mat" && type[3] >= '2' && type[3] <= '4') {
    columns = type[3] - '0';
    size = static_cast<size_t>(columns * columns);
    return true;
  }
  return false;
}

float Converted(std::string_view type, float value) {
  if (type == "int" || type.substr(0, 4) == "ivec") return static_cast<float>(static_cast<int>(value));
  if (type == "bool" || type.substr(0, 4) == "bvec") return value != 0.0f ? 1.0f : 0.0f;
  return value;
}

// A matrix from a scalar (on the diagonal) or from another matrix (the identity around it).
Value MatrixFrom(const Value& first, int columns) {
  Value matrix;
  matrix.columns = columns;
  matrix.components.assign(static_cast<size_t>(columns * columns), 0.0f);
  if (first.columns == 0) {
    for (int i = 0; i < columns; ++i) matrix.components[static_cast<size_t>(i * columns + i)] = first.components[0];
  } else {
    for (int c = 0; c < columns; ++c) {
      for (int r = 0; r < columns; ++r) {
        const bool inside = c < first.columns && r < first.columns;
        matrix.components[static_cast<size_t>(c * columns + r)] =
            inside ? first.components[static_cast<size_t>(c * first.columns + r)] : (c == r ? 1.0f : 0.0f);
      }
    }
  }
  return matrix;
}

class Evaluator {
 public:
  explicit Evaluator(std::string_view text) : mText(text) {}

  bool Run(std::vector<float>& components) {
    Value value;
    if (!Sum(value)) return false;
    SkipSpace();
    if (mPos != mText.size()) return false;
    components = std::move(value.components);
    return true;
  }

 private:
  void SkipSpace() {
    while (mPos < mText.size() && std::isspace(static_cast<unsigned char>(mText[mPos]))) ++mPos;
  }

  bool Take(char c) {
    SkipSpace();
    if (mPos < mText.size() && mText[mPos] == c) {
      ++mPos;
      return true;
    }
    return false;
  }

  bool Sum(Value& value) {
    if (!Product(value)) return false;
    for (;;) {
      const bool plus = Take('+');
      if (!plus && !Take('-')) return true;
      Value right;
      if (!Product(right) || !Combine(value, right, plus ? '+' : '-')) return false;
    }
  }

  bool Product(Value& value) {
    if (!Unary(value)) return false;
    for (;;) {
      const bool times = Take('*');
      if (!times && !Take('/')) return true;
      Value right;
      if (!Unary(right) || !Combine(value, right, times ? '*' : '/')) return false;
    }
  }

  bool Unary(Value& value) {
    if (mDepth >= MAX_DEPTH) return false;
    ++mDepth;
    const bool read = SignedPrimary(value);
    --mDepth;
    return read;
  }

  bool SignedPrimary(Value& value) {
    if (Take('-')) {
      if (!Unary(value)) return false;
      for (float& component : value.components) component = -component;
      return true;
    }
    if (Take('+')) return Unary(value);
    return Primary(value);
  }

  bool Primary(Value& value) {
    SkipSpace();
    if (Take('(')) return Sum(value) && Take(')');
    if (mPos >= mText.size()) return false;
    const unsigned char c = static_cast<unsigned char>(mText[mPos]);
    if (std::isdigit(c) || c == '.') return Number(value);
    if (!std::isalpha(c)) return false;
    const size_t start = mPos;
    while (mPos < mText.size() && (std::isalnum(static_cast<unsigned char>(mText[mPos])) || mText[mPos] == '_')) ++mPos;
    const std::string_view word = mText.substr(start, mPos - start);
    if (word == "true" || word == "false") {
      value.components = {word == "true" ? 1.0f : 0.0f};
      return true;
    }
    return Constructor(word, value);
  }

  bool Number(Value& value) {
    const std::string rest(mText.substr(mPos));
    char* stop = nullptr;
    const bool hex = rest.size() > 1 && rest[0] == '0' && (rest[1] == 'x' || rest[1] == 'X');
    const float number =
        hex ? static_cast<float>(std::strtol(rest.c_str(), &stop, 16)) : std::strtof(rest.c_str(), &stop);
    if (stop == rest.c_str()) return false;
    mPos += static_cast<size_t>(stop - rest.c_str());
    if (mPos < mText.size() && (mText[mPos] == 'f' || mText[mPos] == 'F' || mText[mPos] == 'u' || mText[mPos] == 'U')) {
      ++mPos;
    }
    value.components = {number};
    return true;
  }

  bool Constructor(std::string_view type, Value& value) {
    size_t size = 0;
    int columns = 0;
    if (!ConstructorShape(type, size, columns) || !Take('(')) return false;
    std::vector<Value> arguments;
    do {
      arguments.emplace_back();
      if (!Sum(arguments.back())) return false;
    } while (Take(','));
    if (!Take(')')) return false;
    const bool fromOneMatrixOrScalar =
        arguments.size() == 1 && (arguments[0].columns > 0 || arguments[0].components.size() == 1);
    if (columns > 0 && fromOneMatrixOrScalar) {
      value = MatrixFrom(arguments.front(), columns);
      return true;
    }
    std::vector<float> all;
    for (const Value& argument : arguments) {
      all.insert(all.end(), argument.components.begin(), argument.components.end());
    }
    if (all.size() == 1 && columns == 0) all.assign(size, all[0]);
    if (all.size() < size) return false;
    all.resize(size);
    for (float& component : all) component = Converted(type, component);
    value.components = std::move(all);
    value.columns = columns;
    return true;
  }

  // Component-wise, a scalar spread over the other side; matrix products are not constants here.
  static bool Combine(Value& left, const Value& right, char operation) {
    const size_t size = std::max(left.components.size(), right.components.size());
    const bool matrixProduct = operation == '*' && left.columns > 0 && right.columns > 0;
    if (matrixProduct || (left.components.size() != size && left.components.size() != 1) ||
        (right.components.size() != size && right.components.size() != 1)) {
      return false;
    }
    std::vector<float> result(size);
    for (size_t i = 0; i < size; ++i) {
      const float a = left.components[left.components.size() == 1 ? 0 : i];
      const float b = right.components[right.components.size() == 1 ? 0 : i];
      result[i] = operation == '+' ? a + b : operation == '-' ? a - b : operation == '*' ? a * b : a / b;
    }
    left.components = std::move(result);
    left.columns = std::max(left.columns, right.columns);
    return true;
  }

  std::string_view mText;
  size_t mPos = 0;
  int mDepth = 0;
};

}  // namespace

bool EvaluateConstant(std::string_view expression, std::vector<float>& components) {
  return Evaluator(expression).Run(components);
}

}  // namespace render
