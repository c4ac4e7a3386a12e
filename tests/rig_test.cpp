// The shared test rig loads its data and the headless clock only moves when waited on.
#include <gtest/gtest.h>

#include "test_support.h"

using namespace qvar;

TEST(TestRig, LoadsDataAndDelaysTakeNoRealTime) {
    test::TestRig rig;
    EXPECT_EQ(rig.sys->font.glyphs[8].width, 1);  // the letter i
    EXPECT_EQ(rig.sys->large_digits[3].width, 10);
    uint64_t before = rig.platform.now_ms();
    delay_ms(*rig.sys, 1000);
    EXPECT_EQ(rig.platform.now_ms(), before + 1000);
}

TEST(TestRig, QuitDuringAWaitThrows) {
    test::TestRig rig;
    rig.platform.at_time(500, [](HeadlessPlatform& p) { p.request_quit(); });
    EXPECT_THROW(wait_until_char_typed(*rig.sys), QuitRequested);
    EXPECT_TRUE(rig.sys->quit_requested);
}

TEST(DelayMs, MouseMovesAreAllHandledWithinTheDelay) {
    test::TestRig rig;
    for (uint16_t x = 0; x < 50; ++x) rig.platform.move_mouse(x, 7);
    uint64_t before = rig.platform.now_ms();
    delay_ms(*rig.sys, 10);
    EXPECT_EQ(rig.sys->input.mouse_x, 49);
    EXPECT_EQ(rig.platform.now_ms(), before + 10);
}
