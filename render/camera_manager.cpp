#include "render/camera_manager.h"

CORE_IMPLEMENT_MANAGER(cameraManager)
