// The pause: the veil and its text, and what ends it (a typed key, not an arrow, or a quit).
#include <gtest/gtest.h>

#include "game/pause.h"
#include "gfx/draw.h"
#include "test_support.h"

using namespace qvar;

namespace {

// The P press has been handled: its character is the last message seen, P is still down.
void paused_by_p(test::TestRig& rig) {
    rig.platform.set_key(GameKey::P, true);
    rig.sys->input.char_typed = 1;
    rig.sys->input.last_char = 'p';
}

}  // namespace

TEST(Pause, ATypedKeyResumesAndAnArrowDoesNot) {
    test::TestRig rig;
    paused_by_p(rig);
    rig.platform.at_time(100, [](HeadlessPlatform& p) { p.release_key(GameKey::P); });
    rig.platform.at_time(200, [](HeadlessPlatform& p) { p.press_key(GameKey::Left); });
    rig.platform.at_time(300, [](HeadlessPlatform& p) { p.release_key(GameKey::Left); });
    rig.platform.at_time(900, [](HeadlessPlatform& p) { p.press_key(GameKey::Control); });
    rig.platform.at_time(1000, [](HeadlessPlatform& p) { p.type_char(' '); });
    put_pixel(rig.sys->frame, 11, 1, 99);  // the game under an uncovered cell
    pause_step(*rig.sys);
    EXPECT_GE(rig.platform.now_ms(), 1000u);
    EXPECT_EQ(rig.sys->input.char_typed, 0);
    ASSERT_EQ(rig.platform.frames_presented(), 1u);
    const auto& shown = rig.platform.last_frame();
    EXPECT_EQ(shown[1 * 320 + 1], 20);
    EXPECT_EQ(shown[2 * 320 + 2], 19);
    EXPECT_EQ(shown[8 * 320 + 8], 20);
    EXPECT_EQ(shown[9 * 320 + 9], 0);    // the cell's border lets the game through
    EXPECT_EQ(shown[1 * 320 + 11], 99);  // the next cell in the row is left open
    EXPECT_EQ(shown[11 * 320 + 11], 20);
    int text = 0;
    for (int y = 98; y < 103; ++y)
        for (int x = 150; x < 180; ++x) text += shown[static_cast<size_t>(y * 320 + x)] == 15;
    EXPECT_GT(text, 10);  // "Paused" in colour 15
    for (uint8_t px : rig.sys->frame.pixels) ASSERT_EQ(px, 0);  // the buffer left for the black frame
}

TEST(Pause, ClosingTheWindowDuringThePauseEndsTheProgram) {
    test::TestRig rig;
    paused_by_p(rig);
    rig.platform.at_time(500, [](HeadlessPlatform& p) { p.request_quit(); });
    EXPECT_THROW(pause_step(*rig.sys), QuitRequested);
}

TEST(PauseVeil, CoversEveryOtherCell) {
    FrameBuffer fb;
    draw_pause_veil(fb);
    int covered = 0;
    for (uint8_t px : fb.pixels) covered += px != 0;
    EXPECT_EQ(covered, 32 * 10 * 64);  // half of the 32 x 20 cells, 64 pixels each
    EXPECT_EQ(get_pixel(fb, 311, 191), 20);
    EXPECT_EQ(get_pixel(fb, 301, 191), 0);
}
