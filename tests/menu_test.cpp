// The main menu: item bands and highlights, whole frames, and the menu end to end through the
// headless backend (start, level choice, exit, quit, and the cycle back from a game).
#include <gtest/gtest.h>

#include "gfx/data_layout.h"
#include "app/main_cycle.h"
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
    sys.input.mouse_y = 157;  // Exit stops the frame at once
    menu_frame(sys, state, progress);
    EXPECT_TRUE(state.leave == MenuLeave::Exit && rig.platform.frames_presented() == 1u && sys.sparks.count == 10);

    state.leave = MenuLeave::None;
    sys.input.mouse_x = 50, sys.input.mouse_y = 50, sys.input.mouse_buttons = 0;
    rig.platform.at_time(rig.platform.now_ms() + 5, [](HeadlessPlatform& p) { p.request_quit(); });
    EXPECT_THROW(menu_frame(sys, state, progress), QuitRequested);  // seen during the wait
    EXPECT_EQ(rig.platform.frames_presented(), 2u);  // no further frame
}

// saved.dat is prepared and a click lands at 100 ms. (Entry 0 is never offered: see the pane.)
TEST(Menu, StartOrAReachedLevelEndToEnd) {
    for (auto [entry, ships, x, y, level, start_ships] :
         {std::tuple{3, 7, 40, 80, 0, 3}, {3, 7, 250, 60, 29, 7}, {1, 1, 250, 20, 9, 1}}) {
        SCOPED_TRACE(testing::Message() << "click at " << x << "," << y);
        test::TestRig rig;
        LevelProgress progress;
        std::vector<uint8_t> saved(1001, 0);
        saved[static_cast<size_t>(entry)] = static_cast<uint8_t>(ships);
        test::write_bytes(rig.sys->paths.user("saved.dat"), saved);
        rig.platform.at_time(100, [x = x, y = y](HeadlessPlatform& p) {
            p.move_mouse(static_cast<uint16_t>(x), static_cast<uint16_t>(y));
            p.set_buttons(MOUSE_LEFT);
        });
        rig.platform.at_time(500, [](HeadlessPlatform& p) { p.request_quit(); });  // should the click miss
        const MenuResult r = run_main_menu(*rig.sys, progress);
        EXPECT_TRUE(r.outcome == MenuOutcome::Play && r.start.start_level == level && r.start.ships == start_ships);
        EXPECT_EQ(progress.ships[static_cast<size_t>(entry)], ships);  // the table stays with the caller
        EXPECT_LT(rig.platform.now_ms(), 130u);
    }
}

// The whole program: after start-up (its first second) the first menu gains level 30 in the
// progress file and a recoloured pointer, then starts a game that ends before its first
// frame (Q held). Enter every 100 ms takes the game-over screens back to the menu, which
// must show both changes; Exit there ends the program.
TEST(MainCycle, AfterAGameTheMenuRereadsProgressAndPointer) {
    test::TempDir data, user;
    HeadlessPlatform platform;
    System sys{platform};
    test::write_test_data_files(data.path());
    sys.paths = {data.path(), user.path()};
    platform.at_time(60000, [](HeadlessPlatform& p) { p.request_quit(); });
    for (uint64_t t = 1000; t < 60000; t += 100)
        platform.at_time(t, [t](HeadlessPlatform& p) {
            p.post(Message{});
            p.post(Message{.kind = MessageKind::Character, .character = 13});
            p.at_time(t + 30, [](HeadlessPlatform& q) { q.post(Message{}); });
        });
    int entries = 0, frames_in_second = 0;
    bool in_menu = false;
    platform.set_frame_hook([&](HeadlessPlatform& p, uint64_t) {
        const auto& f = p.last_frame();
        const bool menu = p.now_ms() >= 1000 && f[50 * 320 + 30] == 11 && f[30 * 320 + 30] == 12;  // the title
        entries += menu && !in_menu ? 1 : 0;
        in_menu = menu;
        if (menu && entries == 1 && p.now_ms() >= 1200 && p.now_ms() < 1210) {
            std::vector<uint8_t> saved(1001, 0);
            saved[3] = 2;
            test::write_bytes(sys.paths.user("saved.dat"), saved);
            std::vector<uint8_t> sprites = test::read_bytes(data.file(SPRITES_FILE));
            for (size_t i = POINTER_RECORD.offset + 2; i < POINTER_RECORD.offset + POINTER_RECORD.size; ++i)
                sprites[i] = sprites[i] == 15 ? 9 : sprites[i];
            test::write_bytes(data.file(SPRITES_FILE), sprites);
            p.set_key(GameKey::Q, true);
            p.move_mouse(40, 80);  // Start
            p.set_buttons(MOUSE_LEFT);
            p.at_time(p.now_ms() + 50, [](HeadlessPlatform& q) { q.set_buttons(0); });
        }
        if (!menu || entries != 2) return;
        p.set_key(GameKey::Q, false);
        if (++frames_in_second != 5) return;  // level 30 with two ships, and the new pointer
        EXPECT_EQ(std::make_tuple(f[60 * 320 + 262], f[60 * 320 + 265], f[80 * 320 + 41]), std::make_tuple(14, 12, 9));
        p.move_mouse(40, 157);           // Exit
        p.set_buttons(MOUSE_LEFT);
    });
    EXPECT_EQ(game_main(sys), 0);  // the Exit click ends the menu before a sixth frame is shown
    EXPECT_EQ(std::make_tuple(frames_in_second, entries, platform.display_releases()), std::make_tuple(5, 2, 1));
    EXPECT_TRUE(platform.message_boxes().empty() && platform.now_ms() < 60000u);
}
