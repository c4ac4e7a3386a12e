// Instructions: one press per page, the waits for release, and what each page shows.
#include <gtest/gtest.h>

#include "screens/bonus_kinds.h"
#include "screens/instructions.h"
#include "screens_support.h"

using namespace qvar;

// The page shows kinds 1 .. 13 by name; any other kind has none.
TEST(BonusKinds, NamesByKindAreBounded) {
    for (int32_t kind : {0, 14, -5}) EXPECT_EQ(bonus_name(kind), "") << kind;
    EXPECT_EQ(bonus_name(13), "Invincibility");
}

// The menu's click is still held as the screen opens: each page needs a press of its own, and
// a click returns only once released. (When each page ends is the recordings'.)
TEST(InstructionsScreen, EachPageNeedsItsOwnPress) {
    test::ScreenRig rig;
    rig.sys->input.mouse_buttons = MOUSE_LEFT;
    rig.platform.at_time(1000, [](HeadlessPlatform& p) { p.set_buttons(0); });
    rig.platform.at_time(2000, [](HeadlessPlatform& p) { p.type_char('a'); });
    rig.platform.at_time(3000, [](HeadlessPlatform& p) { p.set_buttons(MOUSE_LEFT); });
    rig.platform.at_time(3400, [](HeadlessPlatform& p) { p.set_buttons(0); });
    test::Frame page1{}, page2{};
    rig.platform.set_frame_hook([&](HeadlessPlatform& p, uint64_t frame) {
        if (frame == 2) page1 = p.last_frame();
        if (frame == 3) page2 = p.last_frame();
    });
    show_instructions(*rig.sys);
    EXPECT_EQ(rig.platform.frames_presented(), 3u);  // the menu's frame, then one per page
    EXPECT_GE(rig.platform.now_ms(), 3400u);
    const Font& font = rig.sys->font;
    EXPECT_TRUE(test::shows_text(page1.data(), font, 30, 30, "Instructions", 12, 4));
    // The long texts wrap onto lines 6 pixels apart, each starting at x = 40.
    for (int y : {50, 56, 80, 86, 92, 98, 104, 110, 130, 136, 142, 148, 154})
        EXPECT_GT(test::count_colour(page1.data(), 40, y, 44, y + 5, 10), 0) << y;
    EXPECT_TRUE(test::shows_text(page2.data(), font, 30, 40, "Key to types of boni", 11, 3));
    // Icons and names in two columns: records 0..9 at x 40, 10..12 at x 140 (test colour 32 + record).
    EXPECT_TRUE(test::shows_text(page2.data(), font, 55, 51, "Flame thrower", 10, 2));
    EXPECT_EQ(page2[(49 + 2 * 12) * 320 + 141], 44);
    EXPECT_TRUE(test::shows_text(page2.data(), font, 155, 51 + 12, "Surround-fire", 10, 2));
}
