// console_text.cpp: the standard streams are already the terminal's.
#include "platform/console_text.h"

void useParentConsoleForText() {}
