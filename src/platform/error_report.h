// error_report.h: tells the player why the game could not start.
#pragma once

#include "core/wide_string.h"

// Writes the message to stderr and, where a display exists, shows it in a message box.
void reportFatalError(const WideString& message);
