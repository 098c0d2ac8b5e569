#include "app/system_manager.h"

CORE_IMPLEMENT_MANAGER(systemManager)
