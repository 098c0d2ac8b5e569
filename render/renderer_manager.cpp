#include "render/renderer_manager.h"

CORE_IMPLEMENT_MANAGER(rendererManager)
