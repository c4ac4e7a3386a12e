// The level-select pane: hover, scrolling at both ends, choosing a level, and the list drawn
// from a prepared progress table.
#include <gtest/gtest.h>

#include "gfx/draw.h"
#include "screens/level_select.h"
#include "screens/main_menu.h"
#include "test_support.h"

using namespace qvar;

namespace {

class LevelPaneTest : public ::testing::Test {
protected:
    test::TestRig rig;
    System& sys = *rig.sys;
    LevelProgress progress;
    LevelPane pane;

    bool step(int32_t x, int32_t y, uint32_t buttons = 0) {
        sys.input.mouse_x = x;
        sys.input.mouse_y = y;
        sys.input.mouse_buttons = buttons;
        sys.frame.clear();
        return level_pane_step(sys, pane, progress);
    }
    void list(int32_t mouse_x) {
        sys.input.mouse_x = mouse_x;
        sys.frame.clear();
        draw_level_list(sys, pane, progress);
    }
    uint8_t px(int32_t x, int32_t y) const { return sys.frame.at(x, y); }
    int count_set() const {
        int n = 0;
        for (uint8_t p : sys.frame.pixels) n += p != 0 ? 1 : 0;
        return n;
    }
    // Columns [from, to) of the sprite drawn with its corner at (x, y): opaque pixels match,
    // transparent ones left the (cleared) frame alone.
    void expect_digit(int32_t x, int32_t y, const Sprite& digit, int32_t from, int32_t to) const {
        for (int32_t r = 0; r < digit.height; ++r)
            for (int32_t c = from; c < to; ++c) {
                uint8_t want = digit.at(c, r) == TRANSPARENT ? 0 : digit.at(c, r);
                ASSERT_EQ(px(x + c, y + r), want) << "column " << c << " row " << r;
            }
    }
    void expect_number_10(int32_t y, bool plain) const {
        const auto& set = plain ? sys.large_digits : sys.large_digits_swapped;
        expect_digit(242, y, set[1], 0, 8);   // tens, its own columns
        expect_digit(250, y, set[0], 2, 10);  // units, right of the tens digit
    }
};

}  // namespace

TEST_F(LevelPaneTest, LevelUnderThePointer) {
    EXPECT_EQ(level_under(0, 0.0f), 0);
    EXPECT_EQ(level_under(19, 0.0f), 0);
    EXPECT_EQ(level_under(20, 0.0f), 10);
    EXPECT_EQ(level_under(199, 0.0f), 90);
    EXPECT_EQ(level_under(199, 9910.0f), 10000);
    EXPECT_EQ(level_under(0, 9.9f), 0);
}

TEST_F(LevelPaneTest, PointerAtTheDividerLeavesThePaneInactive) {
    progress.ships[10] = 3;
    pane.level_scroll = 100.0f;
    EXPECT_FALSE(step(200, 0, 1));  // over level 100, reached, button down
    EXPECT_EQ(pane.hover_level, 100);
    EXPECT_EQ(pane.level_scroll, 100.0f);
    EXPECT_EQ(px(202, 2), 10);  // caption in 10/2
    EXPECT_EQ(px(200, 100), 0);  // no divider
    EXPECT_EQ(px(250, 30), 0);   // no arrows
    EXPECT_EQ(px(250, 170), 0);
    EXPECT_TRUE(step(201, 0, 1));
}

TEST_F(LevelPaneTest, ScrollingUpUsesTheLevelUnderThePointerBeforeTheScroll) {
    pane.level_scroll = 100.0f;
    progress.ships[10] = 2;
    EXPECT_TRUE(step(319, 0, 1));
    EXPECT_EQ(pane.hover_level, 100);
    EXPECT_NEAR(pane.level_scroll, 100.0f - 22.712f, 0.005f);  // 119 (e^3 - 1) / 100, about 22.7
    EXPECT_EQ(px(200, 0), 2);
    EXPECT_EQ(px(200, 198), 2);
    EXPECT_EQ(px(200, 199), 0);  // a line's second end is not drawn
    EXPECT_EQ(px(201, 30), 12);  // up arrow lit
    EXPECT_EQ(px(260, 0), 12);
    EXPECT_EQ(px(318, 30), 12);
    EXPECT_EQ(px(201, 170), 1);  // down arrow dark
    EXPECT_EQ(px(260, 199), 1);
    EXPECT_EQ(px(202, 2), 15);   // caption in 15/7
}

TEST_F(LevelPaneTest, ScrollStaysWithinItsRange) {
    pane.level_scroll = 5.0f;
    step(319, 0);
    EXPECT_EQ(pane.level_scroll, 0.0f);
    step(319, 0);  // at 0 the up arrow neither scrolls nor lights
    EXPECT_EQ(pane.level_scroll, 0.0f);
    EXPECT_EQ(px(201, 30), 1);

    pane.level_scroll = 9905.0f;
    step(319, 199);
    EXPECT_EQ(pane.level_scroll, 9910.0f);
    EXPECT_EQ(px(201, 170), 12);
    step(319, 199);
    EXPECT_EQ(pane.level_scroll, 9910.0f);
    EXPECT_EQ(px(201, 170), 1);

    step(319, 65535);  // a wild pointer row: the speed overflows to infinity, still clamped
    EXPECT_EQ(pane.level_scroll, 9910.0f);
    pane.level_scroll = 50.0f;
    step(201, 100);  // in the middle rows nothing scrolls
    EXPECT_EQ(pane.level_scroll, 50.0f);
}

TEST_F(LevelPaneTest, ChoosingALevelHandsOverItsLevelAndShips) {
    progress.ships[9] = 2;
    EXPECT_TRUE(step(319, 185, 1));  // level 90, scrolling down this very frame
    EXPECT_EQ(pane.hover_level, 90);
    EXPECT_NEAR(pane.level_scroll, 4.14f, 0.01f);
    MenuState state;
    state.pane = pane;
    state.leave = MenuLeave::Level;
    const GameStart start = menu_hand_over(state, progress);
    EXPECT_EQ(start.start_level, 89);
    EXPECT_EQ(start.ships, 2);

    state.leave = MenuLeave::Start;
    EXPECT_EQ(menu_hand_over(state, progress).start_level, 0);
    EXPECT_EQ(menu_hand_over(state, progress).ships, 3);
}

TEST_F(LevelPaneTest, UnreachedLevelsAndEntryZeroAreNeverChosen) {
    progress.ships[0] = 5;
    progress.ships[2] = 1;
    EXPECT_FALSE(step(250, 60, 1));  // level 30, never reached
    EXPECT_FALSE(step(250, 5, 1));   // level 0
    EXPECT_EQ(pane.hover_level, 0);
    EXPECT_FALSE(step(250, 5000, 1));  // far below the table's end
    pane.level_scroll = 0.0f;
    EXPECT_FALSE(step(250, 40, 0));    // reached, but no button
    EXPECT_TRUE(step(250, 40, 1));
    EXPECT_FALSE(level_selectable(progress, 0));
    EXPECT_FALSE(level_selectable(progress, 10010));
    EXPECT_FALSE(level_selectable(progress, -10));

    pane.level_scroll = 0.0f;
    progress.ships[2] = 0;
    list(250);
    EXPECT_EQ(count_set(), 0);  // entry 0's marks are not shown either
}

TEST_F(LevelPaneTest, ListShowsNumbersAndOneChevronPerShip) {
    progress.ships[1] = 3;
    progress.ships[2] = 1;
    progress.ships[11] = 9;  // level 110: just below the ten entries shown
    pane.hover_level = 10;
    list(100);  // pane inactive: both numbers in the swapped set
    expect_number_10(20, false);
    const int32_t chevron[5][2] = {{0, 0}, {1, 1}, {2, 2}, {1, 3}, {0, 4}};
    for (int m = 0; m < 3; ++m)
        for (const auto& d : chevron) EXPECT_EQ(px(262 + 3 * m + d[0], 20 + d[1]), m == 2 ? 12 : 14) << m;
    EXPECT_EQ(px(271, 20), 0);
    for (const auto& d : chevron) EXPECT_EQ(px(262 + d[0], 40 + d[1]), 12);  // a lone ship is red
    EXPECT_EQ(px(265, 40), 0);
    for (int y = 60; y < 200; ++y)
        for (int x = 201; x < 320; ++x) ASSERT_EQ(px(x, y), 0) << x << "," << y;

    list(250);  // the hovered entry in the plain set while the pane is active
    expect_number_10(20, true);
    expect_digit(250, 40, sys.large_digits_swapped[0], 2, 10);
}

TEST_F(LevelPaneTest, ListAtTheEndAndBetweenEntries) {
    progress.ships[1000] = 2;
    progress.ships[991] = 1;
    pane.level_scroll = 9910.0f;
    list(100);
    expect_digit(218, 180, sys.large_digits_swapped[1], 0, 8);  // 10000: five digits
    expect_digit(250, 180, sys.large_digits_swapped[0], 2, 10);
    expect_digit(226, 0, sys.large_digits_swapped[9], 0, 8);    // 9910 at the top
    EXPECT_EQ(px(265, 180), 12);

    progress = LevelProgress{};
    progress.ships[1] = 1;
    pane.level_scroll = 10.25f;  // level 10 at row -0.5, which truncates to row 0
    list(100);
    expect_number_10(0, false);
    pane.level_scroll = 10.75f;  // row -1.5: the digits are not drawn, the marks clip
    list(100);
    for (int x = 200; x < 262; ++x)
        for (int y = 0; y < 20; ++y) ASSERT_EQ(px(x, y), 0) << x << "," << y;
    EXPECT_EQ(px(263, 0), 12);  // trunc(-0.5) = 0
    EXPECT_EQ(px(264, 0), 12);
    EXPECT_EQ(px(262, 2), 12);
}

TEST_F(LevelPaneTest, ManyShipsClipAtTheRightEdge) {
    progress.ships[1] = 255;
    list(100);
    EXPECT_EQ(px(319, 20), 14);  // the red last mark lies far off the screen
    EXPECT_EQ(px(317, 21), 14);
}
