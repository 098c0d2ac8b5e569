#include "platform/gl_driver_pin.h"

#include <dlfcn.h>
#include <link.h>

#include <cstring>
#include <initializer_list>

namespace platform {

namespace {

bool IsGLDriver(const char* path) {
  for (const char* part : {"_dri.so", "libgallium", "libGLX_mesa", "libglapi", "libLLVM"}) {
    if (std::strstr(path, part)) return true;
  }
  return false;
}

int PinIfDriver(dl_phdr_info* info, size_t, void*) {
  if (info->dlpi_name && IsGLDriver(info->dlpi_name)) {
    // Already loaded: this only marks it never to be unloaded.
    dlopen(info->dlpi_name, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
  }
  return 0;
}

}  // namespace

void PinGLDriver() { dl_iterate_phdr(PinIfDriver, nullptr); }

}  // namespace platform
