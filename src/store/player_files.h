// The player's files as a first run creates them: prefs.dat, saved.dat and hiscores.dat.
#pragma once

#include <cstdint>
#include <vector>

#include "util/files.h"

namespace qvar {

// Byte images of the player's files as a first run creates them.
std::vector<uint8_t> default_prefs_bytes();     // gamma 1.0, 4 bytes
std::vector<uint8_t> default_saved_bytes();     // 1001 zero bytes: no level reached
std::vector<uint8_t> default_hiscores_bytes();  // 20 empty names with score 0: 1080 bytes

// Creates the user folder and each player file that does not exist yet, atomically, under
// the folder lock; first removes the temporary files of writes that a killed run left.
// An existing file is never touched, whatever it holds (a damaged one is read as defaults
// later). Returns false when the folder or a file could not be made; the game still runs.
bool ensure_user_files(const Paths& paths);

}  // namespace qvar
