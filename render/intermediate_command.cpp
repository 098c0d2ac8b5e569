#include "render/intermediate_command.h"

CORE_IMPLEMENT_MANAGER(intermediateCommand)
