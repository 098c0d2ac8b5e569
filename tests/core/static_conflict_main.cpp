// A program whose class list is faulty: a second record named "CoreObject" registers during static
// initialisation, so the process must end with the conflict message before main runs.
#include <cstdio>

#include "core/runtime_class.h"

namespace {

struct DuplicateRecord : CoreRuntimeClass {
  using CoreRuntimeClass::CoreRuntimeClass;
  CoreObject* CreateObject() const override { return nullptr; }
};

DuplicateRecord gDuplicate("CoreObject", nullptr);

}  // namespace

int main() {
  std::puts("main reached");
  return 0;
}
