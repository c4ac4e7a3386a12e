// The live shots sorted into bands of screen rows, so that a foe's shot test looks only at the
// shots whose rows can reach it. Built once at the start of the foe pass, during which shot
// positions do not change (only velocities do); within a band the shots stay in slot order.
#pragma once

#include <array>
#include <cstdint>

#include "model/game_state.h"

namespace qvar::world {

struct ShotBands {
    static constexpr int32_t BANDS = 8;
    static constexpr float BAND_ROWS = 25.0f;  // band k holds rows 25k .. 25k + 25; the first
                                               // and last also all rows above and below

    int32_t count = 0;
    std::array<int32_t, BANDS + 1> start{};  // band k's entries: start[k] .. start[k + 1] - 1
    std::array<int32_t, SHOT_CAPACITY> slot;
    std::array<float, SHOT_CAPACITY> x, y;

    // Sorts the live shots into their bands.
    void build(const ShotPool& shots);

    // The entries [first, end) of every band that holds shots with rows in [y - reach, y + reach],
    // and whether that is a single band (then in slot order as they stand).
    struct Range {
        int32_t first, end;
        bool one_band;
    };
    Range near(float y, float reach) const;
};

}  // namespace qvar::world
