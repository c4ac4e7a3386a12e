// Bringing the program up once: display, palette, font, calibration, digits and the player's files.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/system.h"

namespace qvar {

// Byte images of the player's files as a first run creates them.
std::vector<uint8_t> default_prefs_bytes();     // gamma 1.0, 4 bytes
std::vector<uint8_t> default_saved_bytes();     // 1001 zero bytes: no level reached
std::vector<uint8_t> default_hiscores_bytes();  // 20 empty names with score 0: 1080 bytes

// Creates the user folder and each player file that does not exist yet, atomically.
// An existing file is never touched, whatever it holds (a damaged one is read as defaults
// later). Returns false when the folder or a file could not be made; the game still runs.
bool ensure_user_files(const Paths& paths);

// Runs the start-up sequence on a System whose platform and paths are set: opens the display,
// shows a frame of colour 0 in the display's first palette, builds the palette from the stored
// gamma, loads the font, shows "Initialising..." for the second the calibration takes, empties
// the spark pool and loads both digit sets.
// Returns true when the program may go on to the main menu. On false, `exit_status` holds the
// status game_main must return (0 after a window failure, 1 after a missing or damaged data
// file) and the reason has been reported through fatal_error.
bool run_startup(System& sys, int& exit_status);

}  // namespace qvar
