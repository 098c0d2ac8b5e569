#pragma once
// The player's alert presenter: every alert raised while it plays is shown as a message box.

#include "core/alert.h"

void ShowAlertBox(const Alert& alert);
