#pragma once

namespace m3d {

// Qt's messages while the application object starts are held back: when no
// window-system platform can start, Qt ends the program with a fatal message
// (an abort); instead the program then prints one line saying that no display
// was found and why, and exits with status 1.
void BeginHoldingStartupMessages();
// Passes the messages held so far on as usual and stops holding them.
void EndHoldingStartupMessages();

}  // namespace m3d
