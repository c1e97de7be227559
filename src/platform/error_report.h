// error_report.h: tells the player why the game could not start, or what it had to set aside
// to start.
#pragma once

#include "core/wide_string.h"

// Writes the message to stderr and, where a display exists, shows it in a message box.
void reportFatalError(const WideString& message);
// Shows an information box and returns once the player has closed it; the game then goes on.
// The message has already been written to stderr where it arose.
void showStartNotice(const WideString& message);
