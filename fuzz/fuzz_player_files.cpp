// Fuzz targets for the player's files: prefs.dat, saved.dat and hiscores.dat. Each file image
// must read without fault, give only values the game accepts, and write back unchanged.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "fuzz_support.h"
#include "gfx/palette.h"
#include "screens/high_scores.h"
#include "screens/level_select.h"
#include "store/high_score_file.h"
#include "store/prefs_file.h"
#include "store/progress_file.h"

namespace qvar::fuzz {

int fuzz_prefs(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> bytes = bytes_of(data, size);
    const float gamma = parse_gamma(bytes);
    require(std::isfinite(gamma) && gamma >= MIN_GAMMA && gamma <= MAX_GAMMA, "the gamma lies within 0.1 .. 10");
    if (bytes.size() >= PREFS_FILE_SIZE && gamma != DEFAULT_GAMMA)
        require(gamma_bytes(gamma) == std::vector<uint8_t>(bytes.begin(), bytes.begin() + 4), "the gamma writes back");
    compute_palette(gamma);
    return 0;
}

int fuzz_saved(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> bytes = bytes_of(data, size);
    System& sys = fuzz_system();
    LevelProgress progress;
    parse_progress(bytes, progress);
    const std::vector<uint8_t> back = progress_bytes(progress);
    const size_t kept = std::min(bytes.size(), back.size());
    require(back.size() == PROGRESS_ENTRIES && std::equal(back.begin(), back.begin() + static_cast<ptrdiff_t>(kept), bytes.begin()) &&
                std::all_of(back.begin() + static_cast<ptrdiff_t>(kept), back.end(), [](uint8_t b) { return b == 0; }),
            "saved.dat writes back what it read, with zeros past a short file");
    LevelPane pane;
    pane.level_scroll = bytes.empty() ? 0.0f : static_cast<float>(bytes[0]) * 38.0f;
    draw_level_list(sys, pane, progress);
    return 0;
}

int fuzz_hiscores(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> bytes = bytes_of(data, size);
    HighScoreTable table = parse_high_scores(bytes);
    if (bytes.size() >= HIGH_SCORE_FILE_SIZE)
        require(high_score_bytes(table) == std::vector<uint8_t>(bytes.begin(), bytes.begin() + HIGH_SCORE_FILE_SIZE),
                "hiscores.dat writes back byte for byte");
    for (const NameBuffer& name : table.names) require(name_text(name).size() <= NAME_MAX_CHARS, "a name fits 49 characters");
    int32_t score = 0;
    if (bytes.size() >= 4) std::memcpy(&score, bytes.data() + bytes.size() - 4, sizeof score);
    NameBuffer name{};
    std::memcpy(name.data(), "fuzz", 5);
    const int32_t place = high_score_place(table, score);
    require(enter_high_score(table, score, name) == (place < HIGH_SCORE_COUNT), "a score enters where it places");
    draw_high_scores(fuzz_system(), table, static_cast<float>(place));
    return 0;
}

}  // namespace qvar::fuzz
