// The level-progress table: ships held on arrival at every tenth level, kept in saved.dat.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "util/files.h"

namespace qvar {

inline constexpr int32_t PROGRESS_ENTRIES = 1001;  // entry k stands for level 10k, 0 .. 10000

struct LevelProgress {
    std::array<uint8_t, PROGRESS_ENTRIES> ships{};  // 0 = never reached
    std::string path;                                // where record_level_progress writes
};

// Reads saved.dat from the user folder. A missing file, and the entries past the end of a
// short one, read as 0 ("never reached"); bytes past entry 1000 are ignored.
LevelProgress load_level_progress(const Paths& paths);

// Called when level `level` begins. When level is a tenth level up to 10000 and `ships` beats
// its entry, the entry becomes min(ships, 255) and the file is rewritten atomically with the
// whole table (only that byte differs). Returns true when the entry changed.
bool record_level_progress(LevelProgress& progress, int32_t level, int32_t ships);

// The file's bytes for a table: exactly 1001 bytes.
std::vector<uint8_t> progress_bytes(const LevelProgress& progress);

}  // namespace qvar
