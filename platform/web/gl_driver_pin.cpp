// WebGL has no driver library in the process to keep loaded.
#include "platform/gl_driver_pin.h"

namespace platform {

void PinGLDriver() {}

}  // namespace platform
