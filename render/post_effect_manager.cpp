#include "render/post_effect_manager.h"

CORE_IMPLEMENT_MANAGER(cPostEffectManager)
