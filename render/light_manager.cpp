#include "render/light_manager.h"

CORE_IMPLEMENT_MANAGER(lightManager)
