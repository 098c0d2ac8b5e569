#include "render/custom_texture_manager.h"

CORE_IMPLEMENT_MANAGER(customTextureManager)
