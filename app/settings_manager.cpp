#include "app/settings_manager.h"

CORE_IMPLEMENT_MANAGER(settingsManager)
