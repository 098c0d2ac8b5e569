#pragma once
// What a window shows on the test display, read with xwd.

#include <string>

// The mean brightness of the window's pixels, 0 (black) to 1 (white); -1 when the window could
// not be read (it is gone, or its picture has a layout other than 24-bit true colour).
double WindowBrightness(const std::string& windowId);
