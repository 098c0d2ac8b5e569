#include "files/resource_manager.h"

CORE_IMPLEMENT_MANAGER(resourceManager)
