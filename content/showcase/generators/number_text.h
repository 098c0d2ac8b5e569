#pragma once
// Numbers as the generated text files write them: at most four decimals, without trailing zeros,
// so that files stay short, readable and the same from build to build.

#include <string>

std::string NumberText(double value);
