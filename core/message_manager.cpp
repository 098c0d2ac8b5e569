#include "core/message_manager.h"

CORE_IMPLEMENT_MANAGER(messageManager)
