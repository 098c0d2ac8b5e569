#include "demo/application_manager.h"

CORE_IMPLEMENT_MANAGER(applicationManager)
