#include "render/shader_manager.h"

CORE_IMPLEMENT_MANAGER(shaderManager)
