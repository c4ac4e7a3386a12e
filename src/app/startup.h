// Bringing the program up once: display, palette, font, calibration, digits and the player's files.
#pragma once

#include "model/system.h"

namespace qvar {

// Runs the start-up sequence on a System whose platform and paths are set: opens the display,
// shows a frame of colour 0 in the display's first palette, builds the palette from the stored
// gamma, loads the font, shows "Initialising..." for the second the calibration takes, empties
// the spark pool and loads both digit sets.
// Returns true when the program may go on to the main menu. On false, `exit_status` holds the
// status game_main must return (0 after a window failure, 1 after a missing or damaged data
// file) and the reason has been reported through fatal_error.
bool run_startup(System& sys, int& exit_status);

}  // namespace qvar
