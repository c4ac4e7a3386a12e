// The main menu: item bands and highlights, whole frames, and the menu end to end through the
// headless backend (start, level choice, exit, quit, and the cycle back from a game).
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "gfx/data_layout.h"
#include "platform/game_main.h"
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
    void point(int32_t x, int32_t y, uint32_t buttons = 0) {
        sys.input.mouse_x = x;
        sys.input.mouse_y = y;
        sys.input.mouse_buttons = buttons;
    }
    uint8_t px(int32_t x, int32_t y) const { return sys.frame.at(x, y); }
    uint8_t shown(int32_t x, int32_t y) const { return rig.platform.last_frame()[static_cast<size_t>(y * 320 + x)]; }
    void save_progress(size_t entry, uint8_t ships) {
        std::vector<uint8_t> bytes(1001, 0);
        bytes[entry] = ships;
        test::write_bytes(sys.paths.user("saved.dat"), bytes);
    }
    // Mouse at (x, y) with a button down from `at_ms`, released 50 ms later.
    void click_at(uint64_t at_ms, uint16_t x, uint16_t y) {
        rig.platform.at_time(at_ms, [x, y](HeadlessPlatform& p) {
            p.move_mouse(x, y);
            p.set_buttons(MOUSE_LEFT);
        });
        rig.platform.at_time(at_ms + 50, [](HeadlessPlatform& p) { p.set_buttons(0); });
    }
    void quit_at(uint64_t at_ms) {
        rig.platform.at_time(at_ms, [](HeadlessPlatform& p) { p.request_quit(); });
    }
};

}  // namespace

TEST(MenuItems, BandsSpanNineRowsLeftOf200) {
    for (int32_t i = 0; i < MENU_ITEM_COUNT; ++i) {
        const int32_t top = MENU_ITEMS[i].band_top;
        EXPECT_EQ(hovered_item(0, top), i);
        EXPECT_EQ(hovered_item(199, top + 8), i);
        EXPECT_EQ(hovered_item(200, top), -1);
        EXPECT_EQ(hovered_item(50, top - 1), -1);
        EXPECT_EQ(hovered_item(50, top + 9), -1);
    }
    for (int32_t y = 87; y <= 92; ++y) EXPECT_EQ(hovered_item(50, y), -1) << y;
    EXPECT_EQ(hovered_item(-5, 80), 0);
    EXPECT_EQ(MENU_ITEMS[5].band_top, 153);
}

TEST_F(MenuTest, HoveredItemGetsItsLinesAndWhiteLabel) {
    const int32_t tops[] = {78, 93, 108, 123, 138, 153};
    for (int32_t i = 0; i < MENU_ITEM_COUNT; ++i) {
        point(60, tops[i] + 4);
        sys.frame.clear();
        menu_items_step(sys, state);
        for (int32_t x = 0; x < 319; ++x) {
            ASSERT_EQ(px(x, tops[i]), 2) << i << " x " << x;
            ASSERT_EQ(px(x, tops[i] + 8), 2) << i << " x " << x;
        }
        // The lines end at x = 319, and a line never draws its second end.
        EXPECT_EQ(px(319, tops[i]), 0);
        for (int32_t j = 0; j < MENU_ITEM_COUNT; ++j) {
            EXPECT_EQ(px(40, tops[j] + 2), j == i ? 15 : 10) << i << " label " << j;
            if (j != i) {
                EXPECT_EQ(px(300, tops[j]), 0) << i << " line " << j;
            }
        }
    }
}

TEST_F(MenuTest, NothingIsHoveredAtColumn200) {
    point(200, 97, MOUSE_LEFT);
    menu_items_step(sys, state);
    EXPECT_EQ(state.leave, MenuLeave::None);
    EXPECT_EQ(px(300, 93), 0);
    EXPECT_EQ(px(40, 95), 10);
}

TEST_F(MenuTest, TitleTexts) {
    draw_menu_title(sys);
    EXPECT_EQ(px(30, 30), 12);  // Q
    EXPECT_EQ(px(30, 36), 12);  // d, on the line below
    EXPECT_EQ(px(30, 50), 11);  // K
    EXPECT_EQ(px(33, 52), 3);   // the K's shade column
}

TEST_F(MenuTest, ClicksOnItems) {
    point(40, 80, MOUSE_LEFT);
    menu_items_step(sys, state);
    EXPECT_EQ(state.leave, MenuLeave::Start);
    EXPECT_EQ(px(40, 155), 10);  // later items still drawn

    point(10, 161, MOUSE_LEFT);
    state.leave = MenuLeave::None;
    menu_items_step(sys, state);
    EXPECT_EQ(state.leave, MenuLeave::Exit);
}

TEST_F(MenuTest, ACalledScreenRunsToCompletionThenTheLaterItemsAreTested) {
    // High Scores opens with the right button; it waits for the release, then for a click,
    // and returns once that click is released.
    rig.platform.at_time(100, [](HeadlessPlatform& p) { p.set_buttons(0); });
    rig.platform.at_time(200, [](HeadlessPlatform& p) { p.set_buttons(MOUSE_LEFT); });
    rig.platform.at_time(300, [](HeadlessPlatform& p) { p.set_buttons(0); });
    point(40, 97, MOUSE_RIGHT);
    menu_items_step(sys, state);
    EXPECT_EQ(state.leave, MenuLeave::None);
    EXPECT_GE(rig.platform.now_ms(), 300u);
    EXPECT_GT(rig.platform.frames_presented(), 5u);  // the screen's own frames
    EXPECT_EQ(px(40, 110), 10);  // the menu goes on with Options, not hovered
    EXPECT_EQ(px(40, 155), 10);
}

TEST_F(MenuTest, LeavingFrameIsFinishedAndPresented) {
    point(40, 78, MOUSE_LEFT);  // on Start's top line
    menu_frame(sys, state, progress);
    EXPECT_EQ(state.leave, MenuLeave::Start);
    EXPECT_EQ(rig.platform.frames_presented(), 1u);
    EXPECT_EQ(shown(41, 78), 15);  // the pointer over the line
    EXPECT_EQ(shown(40, 78), 2);   // its transparent corner shows the line
    EXPECT_EQ(shown(202, 2), 10);  // the pane's caption
    EXPECT_EQ(sys.sparks.count, 10);
    EXPECT_FLOAT_EQ(state.menu_phase, 0.1f);
    EXPECT_EQ(rig.platform.now_ms(), 10u);  // paced
    const GameStart start = menu_hand_over(state, progress);
    EXPECT_EQ(start.start_level, 0);
    EXPECT_EQ(start.ships, 3);
}

TEST_F(MenuTest, ExitStopsTheFrameAtOnce) {
    point(40, 157, MOUSE_LEFT);
    menu_frame(sys, state, progress);
    EXPECT_EQ(state.leave, MenuLeave::Exit);
    EXPECT_EQ(rig.platform.frames_presented(), 0u);
    EXPECT_EQ(sys.sparks.count, 0);
}

TEST_F(MenuTest, FullSparkPoolTakesNothingMore) {
    sys.sparks.count = SPARK_CAPACITY;
    for (int32_t i = 0; i < SPARK_CAPACITY; ++i) {
        sys.sparks.x[static_cast<size_t>(i)] = 100.0f;
        sys.sparks.y[static_cast<size_t>(i)] = 100.0f;
    }
    point(50, 50);
    for (int f = 0; f < 200; ++f) {
        menu_frame(sys, state, progress);
        ASSERT_EQ(sys.sparks.count, SPARK_CAPACITY);
    }
}

TEST_F(MenuTest, StartEndToEnd) {
    click_at(0, 40, 80);
    quit_at(2000);
    const MenuResult r = run_main_menu(sys, progress);
    EXPECT_EQ(r.outcome, MenuOutcome::Play);
    EXPECT_EQ(r.start.start_level, 0);
    EXPECT_EQ(r.start.ships, 3);
    EXPECT_LE(rig.platform.frames_presented(), 3u);
}

TEST_F(MenuTest, ChoosingAReachedLevelEndToEnd) {
    save_progress(3, 7);
    click_at(100, 250, 60);  // level 30
    quit_at(2000);
    const MenuResult r = run_main_menu(sys, progress);
    EXPECT_EQ(r.outcome, MenuOutcome::Play);
    EXPECT_EQ(r.start.start_level, 29);
    EXPECT_EQ(r.start.ships, 7);
    EXPECT_EQ(progress.ships[3], 7);  // the table stays with the caller for the game
}

TEST_F(MenuTest, EntryZeroIsNeverOffered) {
    save_progress(0, 5);
    click_at(100, 250, 5);
    quit_at(500);
    bool checked = false;
    rig.platform.at_time(300, [&checked](HeadlessPlatform& p) {
        checked = true;
        for (int x = 201; x < 320; ++x)
            for (int y = 0; y < 10; ++y) {
                const uint8_t v = p.last_frame()[static_cast<size_t>(y * 320 + x)];
                // only the divider, the arrow, the caption and sparks may be here; no chevrons
                if (x >= 262 && x < 267 && y < 5) {
                    EXPECT_NE(v, 14) << x << "," << y;
                }
            }
    });
    EXPECT_THROW(run_main_menu(sys, progress), QuitRequested);  // no game was started
    EXPECT_TRUE(checked);
}

TEST_F(MenuTest, QuitRequestEndsTheMenu) {
    quit_at(250);
    EXPECT_THROW(run_main_menu(sys, progress), QuitRequested);
    EXPECT_GE(rig.platform.frames_presented(), 20u);
    EXPECT_LE(rig.platform.frames_presented(), 27u);
}

TEST_F(MenuTest, QuitDuringTheFramesWaitDrawsNoFurtherFrame) {
    quit_at(5);
    EXPECT_THROW(menu_frame(sys, state, progress), QuitRequested);
    EXPECT_EQ(rig.platform.frames_presented(), 1u);
}

TEST_F(MenuTest, MissingPointerFileFailsWithItsName) {
    std::filesystem::remove(rig.data_dir.file(SPRITES_FILE));
    testing::internal::CaptureStderr();
    const MenuResult r = run_main_menu(sys, progress);
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(r.outcome, MenuOutcome::Failed);
    ASSERT_EQ(rig.platform.message_boxes().size(), 1u);
    EXPECT_NE(rig.platform.message_boxes()[0].find("qvar.dat"), std::string::npos);
}

namespace {

// The whole program on the headless backend; start-up takes the first second. Enter is
// pressed every 100 ms (the menu ignores keys), which takes every other screen (game over,
// name entry, high scores) straight back to the menu. The frame hook tells menu frames by
// their title and lets each test act on them, counting the menu's entries.
struct Program {
    test::TempDir data, user;
    HeadlessPlatform platform;
    System sys{platform};
    int menu_entries = 0;
    bool in_menu = false;
    std::function<void(HeadlessPlatform&, int entry)> on_menu_frame;

    Program() {
        test::write_test_data_files(data.path());
        sys.paths = {data.path(), user.path()};
        platform.at_time(60000, [](HeadlessPlatform& p) { p.request_quit(); });
        press_enter_every_100ms(platform, 1000);
        platform.set_frame_hook([this](HeadlessPlatform& p, uint64_t) { watch(p); });
    }
    // A key press whose character stays typed for 30 ms, then its release.
    static void press_enter_every_100ms(HeadlessPlatform& platform, uint64_t from) {
        if (from >= 60000) return;
        platform.at_time(from, [from](HeadlessPlatform& p) {
            p.post(Message{});
            Message enter;
            enter.kind = MessageKind::Character;
            enter.character = 13;
            p.post(enter);
            p.at_time(from + 30, [](HeadlessPlatform& q) { q.post(Message{}); });
            press_enter_every_100ms(p, from + 100);
        });
    }
    static bool menu_frame_shown(const HeadlessPlatform& p) {
        return p.last_frame()[50 * 320 + 30] == 11 && p.last_frame()[30 * 320 + 30] == 12;
    }
    void watch(HeadlessPlatform& p) {
        if (p.now_ms() < 1000) return;  // start-up
        if (!menu_frame_shown(p)) {
            in_menu = false;
            return;
        }
        if (!in_menu) ++menu_entries;
        in_menu = true;
        if (on_menu_frame) on_menu_frame(p, menu_entries);
    }
    static void click(HeadlessPlatform& p, uint16_t x, uint16_t y) {
        p.move_mouse(x, y);
        p.set_buttons(MOUSE_LEFT);
        p.at_time(p.now_ms() + 50, [](HeadlessPlatform& q) { q.set_buttons(0); });
    }
};

}  // namespace

TEST(MainCycle, ExitEndsTheProgramCleanly) {
    Program prog;
    prog.on_menu_frame = [](HeadlessPlatform& p, int) {
        if (p.now_ms() >= 1200 && p.now_ms() < 1210) Program::click(p, 40, 157);
    };
    EXPECT_EQ(game_main(prog.sys), 0);
    EXPECT_EQ(prog.platform.display_releases(), 1);
    EXPECT_FALSE(prog.platform.display_open());
    EXPECT_TRUE(prog.platform.message_boxes().empty());
    EXPECT_LT(prog.platform.now_ms(), 1300u);
}

TEST(MainCycle, AfterAGameTheMenuRereadsTheProgressFile) {
    Program prog;
    bool seen = false;
    int frames_in_second_menu = 0;
    prog.on_menu_frame = [&](HeadlessPlatform& p, int entry) {
        if (entry == 1 && p.now_ms() >= 1200 && p.now_ms() < 1210) {
            std::vector<uint8_t> bytes(1001, 0);
            bytes[3] = 2;
            test::write_bytes(prog.sys.paths.user("saved.dat"), bytes);
            p.set_key(GameKey::Q, true);  // the game ends before its first frame
            Program::click(p, 40, 80);
        }
        if (entry != 2) return;
        p.set_key(GameKey::Q, false);
        if (++frames_in_second_menu == 5) {
            seen = true;
            const auto& f = p.last_frame();
            EXPECT_EQ(f[60 * 320 + 262], 14);  // level 30 with two ships
            EXPECT_EQ(f[60 * 320 + 265], 12);
            Program::click(p, 40, 157);
        }
    };
    EXPECT_EQ(game_main(prog.sys), 0);
    EXPECT_TRUE(seen);
    EXPECT_EQ(prog.menu_entries, 2);
    EXPECT_LT(prog.platform.now_ms(), 60000u);
}

TEST(MainCycle, PointerIsReloadedAtEachMenuEntry) {
    Program prog;
    prog.on_menu_frame = [&](HeadlessPlatform& p, int) {
        if (p.now_ms() < 1200 || p.now_ms() >= 1210) return;
        std::filesystem::remove(prog.data.file(SPRITES_FILE));
        Program::click(p, 40, 80);
    };
    testing::internal::CaptureStderr();
    EXPECT_EQ(game_main(prog.sys), 1);
    testing::internal::GetCapturedStderr();
    ASSERT_EQ(prog.platform.message_boxes().size(), 1u);
    EXPECT_NE(prog.platform.message_boxes()[0].find("qvar.dat"), std::string::npos);
    EXPECT_LT(prog.platform.now_ms(), 60000u);
}

TEST(MainCycle, QuitInTheMenuReturnsZero) {
    Program prog;
    prog.platform.at_time(1500, [](HeadlessPlatform& p) { p.request_quit(); });
    EXPECT_EQ(game_main(prog.sys), 0);
    EXPECT_EQ(prog.platform.display_releases(), 1);
    EXPECT_LT(prog.platform.now_ms(), 1600u);
}
