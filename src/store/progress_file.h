// The level-progress table: ships held on arrival at every tenth level, kept in saved.dat.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "util/files.h"

namespace qvar {

inline constexpr int32_t PROGRESS_ENTRIES = 1001;  // entry k stands for level 10k, 0 .. 10000
inline constexpr const char* PROGRESS_FILE = "saved.dat";

struct LevelProgress {
    std::array<uint8_t, PROGRESS_ENTRIES> ships{};  // 0 = never reached
    Paths paths;  // where record_level_progress writes; none when the user folder is empty
};

// Copies a file image into the table: entries past the end of a short image read as 0
// ("never reached"); bytes past entry 1000 are ignored.
void parse_progress(const std::vector<uint8_t>& bytes, LevelProgress& progress);

// Reads saved.dat from the user folder. A missing file reads as no level reached; an
// unreadable one too, with a line on stderr.
LevelProgress load_level_progress(const Paths& paths);

struct ProgressRecord {
    bool changed = false;  // the table's entry was raised
    FileResult saved;      // the file's rewrite (ok when nothing needed writing)
};

// Called when level `level` begins. When level is a tenth level up to 10000 and `ships` beats
// its entry, the entry becomes min(ships, 255) and saved.dat is rewritten under the folder
// lock, merged with what is on disk now: every entry keeps the larger of the two, so nothing
// another running instance recorded meanwhile is lost.
ProgressRecord record_level_progress(LevelProgress& progress, int32_t level, int32_t ships);

// The file's bytes for a table: exactly 1001 bytes.
std::vector<uint8_t> progress_bytes(const LevelProgress& progress);

}  // namespace qvar
