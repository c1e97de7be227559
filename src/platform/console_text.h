// console_text.h: where the command line's answers (the usage, the version, a refused option)
// are printed by a program that may have no console of its own.
#pragma once

// On Windows the game is a window program: started from a console, its text would go nowhere
// unless it writes to the console it was started from. Output already sent to a file or a pipe
// stays there. Elsewhere the standard streams are the terminal's and nothing changes.
void useParentConsoleForText();
