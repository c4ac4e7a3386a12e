// prefs.dat: the display gamma as 4 little-endian bytes of an IEEE-754 single.
#pragma once

#include <cstdint>
#include <vector>

#include "util/files.h"

namespace qvar {

inline constexpr const char* PREFS_FILE = "prefs.dat";
inline constexpr size_t PREFS_FILE_SIZE = 4;

// The gamma a file image holds. Fewer than 4 bytes, or a value that is not finite or lies
// outside 0.1 .. 10, gives 1.0; bytes past the fourth are ignored.
float parse_gamma(const std::vector<uint8_t>& bytes);

// Reads the gamma at start-up. A missing or unreadable file gives 1.0 (an unreadable one
// with a line on stderr).
float load_gamma(const Paths& paths);

// Writes the gamma atomically under the folder lock; on failure the old file stays.
FileResult save_gamma(const Paths& paths, float gamma);

std::vector<uint8_t> gamma_bytes(float gamma);

}  // namespace qvar
