// The 320x200 frame at 4:3: scaled up by whole numbers with nearest neighbour to the size just
// above the 4:3 target, then down to the target with linear filtering, so that pixel edges
// stay sharp and no column or row is visibly wider than its neighbours. Both steps are done
// at once: each target pixel blends at most two game pixels across and two down. No SDL here.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace qvar {

// One target column (or row): the game column (row) it shows, the next one, and how much of
// the next it takes, in 256ths.
struct FourThreeTap {
    uint16_t first = 0;
    uint16_t second = 0;
    uint16_t weight = 0;  // 0 .. 256; 0 shows `first` alone
};

// Where the picture goes on a target and how each of its columns and rows is made.
struct FourThreePlan {
    int x = 0, y = 0;           // the picture's top-left corner on the target
    int width = 0, height = 0;  // 4:3 exactly; 0 x 0 when the target is too small for any
    int up_x = 1, up_y = 1;     // the whole factors of the first step
    std::vector<FourThreeTap> columns;  // `width` entries
    std::vector<FourThreeTap> rows;     // `height` entries
    std::vector<uint32_t> scratch;      // two widened rows, so that drawing allocates nothing
};

// The largest 4:3 picture (a multiple of 4 by 3) centred on a `target_w` by `target_h` target.
FourThreePlan plan_four_three(int target_w, int target_h);

// Draws the field rows first_row .. last_row (inclusive, play-field rows) of 200 rows of 320
// palette indices through `colours` (32-bit pixel values; the blend works on each byte, so
// any 8-bit-per-channel format will do) into a target of rows `pitch` bytes apart that holds
// the whole picture at its place. Target rows that blend a drawn row with its neighbour are
// drawn too; nothing outside the picture is written.
void draw_four_three(const uint8_t* pixels, const std::array<uint32_t, 256>& colours, FourThreePlan& plan,
                     uint8_t* target, ptrdiff_t pitch, int first_row, int last_row);

// Fills everything of a `width` by `height` target outside the picture with `colour`.
void fill_four_three_bars(uint8_t* target, ptrdiff_t pitch, int width, int height, const FourThreePlan& plan,
                          uint32_t colour);

// The target rows (first, last; inclusive) that field rows first_row .. last_row reach.
void four_three_target_rows(const FourThreePlan& plan, int first_row, int last_row, int& first, int& last);

// The play-field pixel under a target position; positions off the picture give the nearest
// pixel on its edge.
void four_three_to_field(const FourThreePlan& plan, int tx, int ty, uint16_t& fx, uint16_t& fy);

}  // namespace qvar
