#pragma once
// Drawing recorded once on the GPU and replayed by name: the compiled materials of a model.

#include <functional>

// Records what draw draws, without drawing it; returns the list's name.
unsigned CompileDisplayList(const std::function<void()>& draw);
void CallDisplayList(unsigned list);
void DeleteDisplayList(unsigned list);
