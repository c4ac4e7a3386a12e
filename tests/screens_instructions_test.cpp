// Instructions: one press per page, the waits for release, and what each page shows.
#include <gtest/gtest.h>

#include "screens/bonus_kinds.h"
#include "screens/instructions.h"
#include "screens_support.h"
#include "test_support.h"

using namespace qvar;

TEST(BonusKinds, NamesByKindAreBounded) {
    EXPECT_EQ(bonus_name(1), "Flame thrower");
    EXPECT_EQ(bonus_name(8), "+1 extra life");
    EXPECT_EQ(bonus_name(13), "Invincibility");
    EXPECT_EQ(bonus_name(0), "");
    EXPECT_EQ(bonus_name(14), "");
    EXPECT_EQ(bonus_name(-5), "");
}

TEST(InstructionsScreen, EachPageNeedsItsOwnPress) {
    test::TestRig rig;
    rig.platform.set_idle_quit_ms(20000);
    std::array<uint8_t, 64000> page1{}, page2{};
    rig.platform.set_frame_hook([&](HeadlessPlatform& p, uint64_t frame) {
        if (frame == 2) {
            page1 = p.last_frame();
            p.type_char('k');  // ends page 1 only
        }
        if (frame == 3) {
            page2 = p.last_frame();
            p.set_buttons(MOUSE_LEFT);
            p.at_time(p.now_ms() + 400, [](HeadlessPlatform& q) { q.set_buttons(0); });
        }
    });
    show_instructions(*rig.sys);
    EXPECT_EQ(rig.platform.frames_presented(), 3u);  // the menu's frame, then one per page
    EXPECT_EQ(rig.sys->input.mouse_buttons, 0u);     // returned only after the release
    EXPECT_TRUE(test::shows_text(page1.data(), rig.sys->font, 30, 30, "Instructions", 12, 4));
    EXPECT_TRUE(test::shows_text(page1.data(), rig.sys->font, 30, 170, "Press any key or click mouse to continue",
                                 15, 7));
    // The long texts wrap onto lines 6 pixels apart, each starting at x = 40.
    for (int y : {50, 56, 80, 86, 92, 98, 104, 110, 130, 136, 142, 148, 154})
        EXPECT_GT(test::count_colour(page1.data(), 40, y, 44, y + 5, 10), 0) << y;
    EXPECT_TRUE(test::shows_text(page2.data(), rig.sys->font, 30, 40, "Key to types of boni", 11, 3));
    // Icons (test colours 32 + record) in two columns: records 0..9 at x 40, 10..12 at x 140.
    EXPECT_EQ(page2[49 * 320 + 41], 32);
    EXPECT_EQ(page2[(49 + 9 * 12) * 320 + 41], 41);
    EXPECT_EQ(page2[(49 + 2 * 12) * 320 + 141], 44);
    EXPECT_TRUE(test::shows_text(page2.data(), rig.sys->font, 55, 51, "Flame thrower", 10, 2));
    EXPECT_TRUE(test::shows_text(page2.data(), rig.sys->font, 155, 51 + 12, "Surround-fire", 10, 2));
}

TEST(InstructionsScreen, OnePressDoesNotTurnBothPages) {
    test::TestRig rig;
    rig.platform.set_idle_quit_ms(5000);  // a page still waiting ends the run with a quit
    rig.platform.set_frame_hook([](HeadlessPlatform& p, uint64_t frame) {
        if (frame == 2) p.type_char('k');
    });
    EXPECT_THROW(show_instructions(*rig.sys), QuitRequested);
    EXPECT_EQ(rig.platform.frames_presented(), 3u);  // page 2 shown and waiting
}

TEST(InstructionsScreen, HeldButtonMustBeReleasedBeforePageOneCanEnd) {
    test::TestRig rig;
    rig.sys->input.mouse_buttons = MOUSE_LEFT;
    rig.platform.at_time(1000, [](HeadlessPlatform& p) { p.set_buttons(0); });
    rig.platform.at_time(2000, [](HeadlessPlatform& p) { p.type_char('a'); });
    rig.platform.at_time(3000, [](HeadlessPlatform& p) { p.type_char('b'); });
    uint64_t page2_at = 0;
    rig.platform.set_frame_hook([&](HeadlessPlatform& p, uint64_t frame) {
        if (frame == 3) page2_at = p.now_ms();
    });
    show_instructions(*rig.sys);
    EXPECT_GE(page2_at, 2000u);
    EXPECT_LT(page2_at, 3000u);
}
