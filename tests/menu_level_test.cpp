// The level-select pane: hover, scrolling at both ends, choosing a level, and the list drawn
// from a prepared progress table.
#include <gtest/gtest.h>

#include <vector>

#include "gfx/draw.h"
#include "screens/main_menu.h"
#include "test_support.h"

using namespace qvar;

namespace {

struct Px { int x, y; uint8_t v; };

class LevelPaneTest : public ::testing::Test {
protected:
    test::TestRig rig;
    System& sys = *rig.sys;
    LevelProgress progress;
    LevelPane pane;
    void list(int32_t mouse_x, float scroll) {
        sys.input.mouse_x = mouse_x;
        sys.frame.clear();
        pane.level_scroll = scroll;
        draw_level_list(sys, pane, progress);
    }
};

}  // namespace

TEST_F(LevelPaneTest, StepHoversScrollsAndChooses) {
    for (auto [entry, ships] : {std::pair{0, 5}, {2, 1}, {9, 2}, {10, 3}})
        progress.ships[static_cast<size_t>(entry)] = static_cast<uint8_t>(ships);
    // Scroll before, pointer, button, chosen, hover level, scroll after, pixels to check.
    struct Case { const char* what; float scroll; int32_t x, y; bool button, chosen; int32_t hover; float after;
                  std::vector<Px> want; };
    const float up_1 = 0.01f * 19.0855f, up_119 = 1.19f * 19.0855f;  // (x - 200)(e^3 - 1) / 100
    const Case cases[] = {
        {"at the divider", 100, 200, 0, true, false, 100, 100, {{202, 2, 10}, {200, 100, 0}, {250, 30, 0}}},
        {"one right of it", 100, 201, 0, true, true, 100, 100 - up_1, {{202, 2, 15}, {200, 100, 2}}},
        {"up: hover before the scroll", 100, 319, 0, true, true, 100, 100 - up_119,
         {{200, 0, 2}, {200, 198, 2}, {200, 199, 0}, {201, 30, 12}, {260, 0, 12}, {318, 30, 12}, {260, 199, 1}}},
        {"up clamps at 0", 5, 319, 0, false, false, 0, 0, {{201, 30, 12}}},
        {"at 0 up is dark", 0, 319, 0, false, false, 0, 0, {{201, 30, 1}}},
        {"down clamps at 9910", 9905, 319, 199, false, false, 10000, 9910, {{201, 170, 12}}},
        {"at 9910 down is dark", 9910, 319, 199, false, false, 10000, 9910, {{201, 170, 1}}},
        {"wild row: infinite speed", 9910, 319, 65535, false, false, 42670, 9910, {}},
        {"middle rows keep still", 50, 201, 100, false, false, 100, 50, {{201, 30, 1}, {201, 170, 1}}},
        {"level 90 while scrolling down", 0, 319, 185, true, true, 90, 4.14f, {{201, 170, 12}}},
        {"far below the table", 0, 250, 5000, true, false, 2500, 9910, {}},
        {"row 19 is level 0, never offered", 0, 250, 19, true, false, 0, 0, {}},
        {"row 20 is level 10, unreached", 0, 250, 20, true, false, 10, 0, {}},
        {"reached, no button", 0, 250, 40, false, false, 20, 0, {}},
        {"reached, button", 0, 250, 40, true, true, 20, 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        pane.level_scroll = c.scroll;
        sys.input = {};
        sys.input.mouse_x = c.x;
        sys.input.mouse_y = c.y;
        sys.input.mouse_buttons = c.button ? MOUSE_LEFT : 0;
        sys.frame.clear();
        EXPECT_EQ(level_pane_step(sys, pane, progress), c.chosen);
        EXPECT_EQ(pane.hover_level, c.hover);
        EXPECT_NEAR(pane.level_scroll, c.after, 0.01f);
        for (const Px& p : c.want) EXPECT_EQ(sys.frame.at(p.x, p.y), p.v) << "at " << p.x << "," << p.y;
    }
}

// Whole frames against the list drawn by hand: the number's units at x = 250 and each further
// digit 8 left, one chevron per ship from x = 262, 3 apart, the last one red.
TEST_F(LevelPaneTest, ListShowsReachedEntriesWithNumbersAndChevrons) {
    struct Entry { int32_t row, level, ships; bool plain; };
    using Ships = std::vector<std::pair<size_t, uint8_t>>;
    struct Case { Ships ships; int32_t mouse_x; float scroll; std::vector<Entry> want; };
    const Case cases[] = {
        {{{0, 4}, {1, 3}, {2, 1}, {11, 9}}, 100, 0, {{20, 10, 3, false}, {40, 20, 1, false}}},  // no entry 0 nor 110
        {{{0, 4}, {1, 3}, {2, 1}, {11, 9}}, 250, 0, {{20, 10, 3, true}, {40, 20, 1, false}}},   // hovered, active
        {{{1000, 2}, {991, 1}}, 100, 9910.0f, {{0, 9910, 1, false}, {180, 10000, 2, false}}},
        {{{1, 255}}, 100, 0.0f, {{20, 10, 255, false}}},  // marks far past the right edge clip
    };
    pane.hover_level = 10;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.want[0].level);
        progress = {};
        for (auto [entry, ships] : c.ships) progress.ships[entry] = ships;
        list(c.mouse_x, c.scroll);
        FrameBuffer want;
        for (const Entry& e : c.want) {
            const auto& set = e.plain ? sys.large_digits : sys.large_digits_swapped;
            for (uint32_t v = static_cast<uint32_t>(e.level), x = 250; v > 0; v /= 10, x -= 8)
                blit_sprite(want, x, static_cast<uint32_t>(e.row), set[v % 10]);
            for (int32_t m = 0; m < e.ships; ++m)
                for (int32_t r = 0; r < 5; ++r)  // the chevron's columns: 0 1 2 1 0
                    put_pixel(want, static_cast<uint32_t>(262 + 3 * m + (r == 2 ? 2 : r % 2)),
                              static_cast<uint32_t>(e.row + r), m == e.ships - 1 ? 12 : 14);
        }
        EXPECT_EQ(sys.frame.pixels, want.pixels);
    }
    progress = {};
    progress.ships[1] = 1;
    list(100, 10.25f);  // level 10 at row -0.5, which truncates to row 0
    EXPECT_EQ(sys.frame.at(262, 0), 12);
    EXPECT_EQ(sys.frame.at(243, 1), sys.large_digits_swapped[1].at(1, 1));
    list(100, 10.75f);  // row -1.5: the digits are not drawn, the marks clip
    for (int32_t x = 200; x < 262; ++x) ASSERT_EQ(sys.frame.at(x, 1), 0) << x;
    for (const Px& p : {Px{263, 0, 12}, Px{264, 0, 12}, Px{262, 2, 12}, Px{262, 199, 0}})
        EXPECT_EQ(sys.frame.at(p.x, p.y), p.v) << p.x << "," << p.y;
}
