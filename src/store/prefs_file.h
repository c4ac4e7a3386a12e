// prefs.dat: the display gamma as 4 little-endian bytes of an IEEE-754 single.
#pragma once

#include <cstdint>
#include <vector>

#include "util/files.h"

namespace qvar {

// Reads the gamma at start-up. A missing or short file, or a value that is not finite or
// lies outside 0.1 .. 10, gives 1.0.
float load_gamma(const Paths& paths);

// Writes the gamma atomically; false when the file could not be written.
bool save_gamma(const Paths& paths, float gamma);

std::vector<uint8_t> gamma_bytes(float gamma);

}  // namespace qvar
