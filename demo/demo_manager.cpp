#include "demo/demo_manager.h"

CORE_IMPLEMENT_MANAGER(demoManager)
