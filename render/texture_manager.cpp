#include "render/texture_manager.h"

CORE_IMPLEMENT_MANAGER(textureManager)
