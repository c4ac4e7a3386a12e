// The main menu: item bands and highlights, whole frames, the high-score screen's hand-back and
// a quit. (Start, the level choice and the cycle back from a game are the recordings'.)
#include <gtest/gtest.h>

#include "screens/main_menu.h"
#include "test_support.h"

using namespace qvar;

namespace {

class MenuTest : public ::testing::Test {
protected:
    test::TestRig rig;
    System& sys = *rig.sys;
    MenuState state;
    LevelProgress progress;
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(menu_enter(sys, state, progress, error)) << error;
    }
    void step(int32_t x, int32_t y, uint32_t buttons) {
        sys.input.mouse_x = x, sys.input.mouse_y = y, sys.input.mouse_buttons = buttons;
        sys.frame.clear();
        state.leave = MenuLeave::None;
        menu_items_step(sys, state);
    }
};

}  // namespace

// Bands are nine rows, left of x = 200, with six-row gaps between them; a hovered item gets
// two lines from x = 0 to 318 and a white label.
TEST_F(MenuTest, HoverHighlightsOneItemWithinItsBand) {
    for (int32_t i = 0; i < MENU_ITEM_COUNT; ++i) {
        const int32_t top = MENU_ITEMS[i].band_top;
        for (auto [x, y, on] : {std::tuple{0, top, true}, {199, top + 8, true}, {-5, top + 4, true}, {200, top, false},
                                {50, top - 1, false}, {50, top + 9, false}}) {
            SCOPED_TRACE(testing::Message() << "item " << i << " at " << x << "," << y);
            EXPECT_EQ(hovered_item(x, y), on ? i : -1);
            step(x, y, 0);
            for (int32_t j = 0; j < MENU_ITEM_COUNT; ++j) {
                const bool lit = on && j == i;
                const int32_t top_j = MENU_ITEMS[j].band_top;
                EXPECT_EQ(sys.frame.at(40, top_j + 2), lit ? 15 : 10) << "label " << j;
                for (int32_t row : {top_j, top_j + 8})
                    for (int32_t lx : {0, 150, 318, 319})
                        EXPECT_EQ(sys.frame.at(lx, row), lit && lx < 319 ? 2 : 0) << j << " at " << lx << "," << row;
            }
        }
    }
}

// A right click on High Scores opens that screen, which, once it has had its release and a
// click, hands back to the menu; the menu goes on drawing the later items in the same frame.
TEST_F(MenuTest, HighScoresHandBackMidFrame) {
    rig.platform.at_time(100, [](HeadlessPlatform& p) { p.set_buttons(0); });
    rig.platform.at_time(200, [](HeadlessPlatform& p) { p.set_buttons(MOUSE_LEFT); });
    rig.platform.at_time(300, [](HeadlessPlatform& p) { p.set_buttons(0); });
    step(40, 97, MOUSE_RIGHT);
    EXPECT_EQ(state.leave, MenuLeave::None);
    EXPECT_EQ(sys.frame.at(40, 140), 10) << "later items still drawn";
    EXPECT_GE(rig.platform.now_ms(), 300u);
    EXPECT_GT(rig.platform.frames_presented(), 5u);  // the high-score screen's own frames
}

TEST_F(MenuTest, WholeFrames) {
    sys.input.mouse_x = 40, sys.input.mouse_y = 78, sys.input.mouse_buttons = MOUSE_LEFT;  // Start's top line
    menu_frame(sys, state, progress);
    EXPECT_EQ(state.leave, MenuLeave::Start);
    // The leaving frame is finished and shown, paced: the pointer over the line, its transparent
    // corner showing the line.
    const auto& shown = rig.platform.last_frame();
    EXPECT_EQ(std::make_tuple(rig.platform.frames_presented(), shown[78 * 320 + 41], shown[78 * 320 + 40], sys.sparks.count,
                              rig.platform.now_ms()), std::make_tuple(uint64_t{1}, uint8_t{15}, uint8_t{2}, 10, uint64_t{10}));

    state.leave = MenuLeave::None;
    sys.input.mouse_x = 50, sys.input.mouse_y = 50, sys.input.mouse_buttons = 0;
    rig.platform.at_time(rig.platform.now_ms() + 5, [](HeadlessPlatform& p) { p.request_quit(); });
    EXPECT_THROW(menu_frame(sys, state, progress), QuitRequested);  // seen during the wait
    EXPECT_EQ(rig.platform.frames_presented(), 2u);  // no further frame
}
