// The shots by bands of rows, for the foe pass's shot tests.
#include "world/shot_bands.h"

#include "util/numeric.h"

namespace qvar::world {

namespace {

// A NaN row (never within any foe's reach) falls in the first band with the rows above.
int32_t band_of(float row) {
    if (!(row >= ShotBands::BAND_ROWS)) return 0;
    if (!(row < ShotBands::BAND_ROWS * (ShotBands::BANDS - 1))) return ShotBands::BANDS - 1;
    return trunc_i32(row / ShotBands::BAND_ROWS);
}

}  // namespace

void ShotBands::build(const ShotPool& shots) {
    count = shots.count;
    std::array<int32_t, BANDS + 1> next{};
    for (int32_t j = 0; j < count; ++j) ++next[static_cast<size_t>(band_of(shots.y[static_cast<size_t>(j)]) + 1)];
    for (int32_t k = 0; k < BANDS; ++k) next[static_cast<size_t>(k + 1)] += next[static_cast<size_t>(k)];
    start = next;
    for (int32_t j = 0; j < count; ++j) {
        const auto at = static_cast<size_t>(next[static_cast<size_t>(band_of(shots.y[static_cast<size_t>(j)]))]++);
        slot[at] = j;
        x[at] = shots.x[static_cast<size_t>(j)];
        y[at] = shots.y[static_cast<size_t>(j)];
    }
}

ShotBands::Range ShotBands::near(float row, float reach) const {
    const int32_t top = band_of(row - reach);
    const int32_t bottom = band_of(row + reach);
    return {start[static_cast<size_t>(top)], start[static_cast<size_t>(bottom + 1)], top == bottom};
}

}  // namespace qvar::world
