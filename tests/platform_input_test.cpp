// No lost or stray input: a delay handles every waiting message, a press that no frame has
// seen stays for the next frame (and no wait sticks on it), and a game key tapped between
// two frames is down in exactly one.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "game/frame.h"
#include "game_fixture.h"
#include "screens/main_menu.h"
#include "screens/screens.h"
#include "screens_support.h"
#include "store/prefs_file.h"

using namespace qvar;

namespace {

// The frame's one pump takes the press; the release waits in the queue for the delay.
void click_after_frame(HeadlessPlatform& p, uint64_t frame) {
    p.at_frame(frame, [](HeadlessPlatform& q) {
        q.set_buttons(MOUSE_LEFT);
        q.set_buttons(0);
    });
}

}  // namespace

TEST(DelayMs, HandlesEveryWaitingMessageWhileAPressWaitsForTheNextFrame) {
    test::ScreenRig rig;  // a wait that sticks ends in a quit after 20 idle seconds
    System& sys = *rig.sys;
    InputState& in = sys.input;
    rig.platform.set_buttons(MOUSE_LEFT);
    rig.platform.set_buttons(0);
    rig.platform.type_char('k');  // key down, character, key up
    for (uint16_t x = 0; x < 50; ++x) rig.platform.move_mouse(x, 7);
    delay_ms(sys, 10);
    EXPECT_FALSE(rig.platform.has_pending_input());
    EXPECT_EQ(std::make_tuple(in.mouse_buttons, in.char_typed, in.last_char, in.mouse_x),
              std::make_tuple(MOUSE_LEFT, 1, uint8_t{'k'}, 49));
    present_frame(sys);  // the frame has seen them: released from now on
    EXPECT_EQ(std::make_tuple(in.mouse_buttons, in.char_typed, in.last_char), std::make_tuple(0u, 0, uint8_t{1}));
    // A wait looks too: the release the delay held back ends it at once, with no message left.
    rig.platform.set_buttons(MOUSE_RIGHT);
    rig.platform.set_buttons(0);
    delay_ms(sys, 10);
    const uint64_t before = rig.platform.now_ms();
    wait_buttons_released(sys);
    EXPECT_EQ(rig.platform.now_ms(), before);
}

// A press and its release queued together right after a present reach "Back" on the options
// screen, a menu item and the high-score screen; a missed click would end in the rig's quit.
TEST(QuickClicks, APressAndReleaseQueuedTogetherReachEveryScreen) {
    {
        test::ScreenRig rig;
        rig.platform.at_frame(1, [](HeadlessPlatform& p) { p.move_mouse(40, 82); });
        click_after_frame(rig.platform, 2);
        show_options(*rig.sys);
        EXPECT_EQ(rig.platform.frames_presented(), 3u);
        EXPECT_EQ(test::read_bytes(rig.sys->paths.user("prefs.dat")), gamma_bytes(1.0f));
    }
    {
        test::ScreenRig rig;
        rig.platform.at_frame(1, [](HeadlessPlatform& p) { p.move_mouse(40, 157); });  // "Exit"
        click_after_frame(rig.platform, 2);
        LevelProgress progress;
        EXPECT_EQ(run_main_menu(*rig.sys, progress).outcome, MenuOutcome::Exit);
        EXPECT_EQ(rig.platform.frames_presented(), 2u);  // the third frame stopped at "Exit"
    }
    {
        test::ScreenRig rig;
        click_after_frame(rig.platform, 2);
        show_high_scores(*rig.sys);
        EXPECT_EQ(rig.platform.frames_presented(), 3u);
        EXPECT_EQ(rig.sys->input.mouse_buttons, 0u);  // and the click does not reach the menu
    }
}

TEST(GameKeys, ATapBetweenTwoFramesIsDownInExactlyOneFrame) {
    test::GameFixture f;
    HeadlessPlatform& p = f.rig.platform;
    f.player().invincible = 1000;
    p.at_frame(2, [](HeadlessPlatform& q) {
        q.press_key(GameKey::Left);
        q.release_key(GameKey::Left);
    });
    std::vector<bool> turned;
    for (int frame = 0; frame < 5; ++frame) {
        const float before = f.player().ship_angle;
        run_frame(f.sys(), *f.game);
        turned.push_back(f.player().ship_angle != before);
        EXPECT_EQ(p.key_down(GameKey::Left), frame == 1) << "read again after frame " << frame + 1;
    }
    EXPECT_EQ(turned, (std::vector<bool>{false, false, true, false, false}));  // in frame 3 alone
}
