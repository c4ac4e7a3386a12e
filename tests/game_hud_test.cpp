// The heads-up display: tallies, level digits, chevrons, the bar, white-hot dots, the
// weapon marker, and the score's run-up and digits.
#include <gtest/gtest.h>

#include "game/hud.h"
#include "game_fixture.h"
#include "gfx/draw.h"

using namespace qvar;

namespace {

// Test pictures leave (r + c) mod 3 = 0 transparent, so pixel (1, 0) shows each one.
uint8_t shown_at(const System& sys, int x, int y) { return get_pixel(sys.frame, static_cast<uint32_t>(x + 1), static_cast<uint32_t>(y)); }

}  // namespace

TEST(Hud, TallyShowsHundredsTensAndUnits) {
    EXPECT_EQ(tally_count(123), 6);
    EXPECT_EQ(tally_count(0), 0);
    EXPECT_EQ(tally_count(1000), 10);
    test::GameFixture f;
    const GameSprites& gs = f.game->sprites;
    draw_tally(f.sys().frame, 0, 16, gs.bonus_icons[0], gs.tally_tens, gs.tally_hundreds, 123);
    const uint8_t icon = gs.bonus_icons[0].at(1, 0);
    const uint8_t tens = gs.tally_tens.at(1, 0);
    const uint8_t hundreds = gs.tally_hundreds.at(1, 0);
    ASSERT_NE(tens, hundreds);
    EXPECT_EQ(shown_at(f.sys(), 0, 16), hundreds);
    EXPECT_EQ(shown_at(f.sys(), 12, 16), tens);
    EXPECT_EQ(shown_at(f.sys(), 24, 16), tens);
    EXPECT_EQ(shown_at(f.sys(), 36, 16), icon);
    EXPECT_EQ(shown_at(f.sys(), 60, 16), icon);
    EXPECT_EQ(shown_at(f.sys(), 72, 16), 0);
}

TEST(Hud, LevelDigitsAreRightAligned) {
    test::GameFixture f;
    const auto& digits = f.sys().large_digits_swapped;
    f.player().level = 7;
    hud_first_half(f.sys(), *f.game);
    EXPECT_EQ(shown_at(f.sys(), 32, 0), digits[7].at(1, 0));
    EXPECT_EQ(shown_at(f.sys(), 24, 0), 0);
    f.sys().frame.clear();
    f.player().level = 12;
    hud_first_half(f.sys(), *f.game);
    EXPECT_EQ(shown_at(f.sys(), 24, 0), digits[1].at(1, 0));
    EXPECT_EQ(shown_at(f.sys(), 32, 0), digits[2].at(1, 0));
    EXPECT_EQ(shown_at(f.sys(), 16, 0), 0);
}

TEST(Hud, ShipChevronsWithTheLastInRed) {
    test::GameFixture f;
    hud_first_half(f.sys(), *f.game);
    const FrameBuffer& fb = f.sys().frame;
    EXPECT_EQ(get_pixel(fb, 46, 2), 14);
    EXPECT_EQ(get_pixel(fb, 51, 4), 14);
    EXPECT_EQ(get_pixel(fb, 52, 2), 12);
    EXPECT_EQ(get_pixel(fb, 54, 4), 12);
    EXPECT_EQ(get_pixel(fb, 55, 2), 0);
    f.player().ships = 255;  // runs off the screen without harm
    hud_first_half(f.sys(), *f.game);
}

TEST(Hud, BulletBarAndItsMarker) {
    test::GameFixture f;
    Player& p = f.player();
    p.bullets = 24;
    p.weapon = 5;
    hud_first_half(f.sys(), *f.game);
    const FrameBuffer& fb = f.sys().frame;
    EXPECT_EQ(get_pixel(fb, 0, 40), 0);  // no column below 25 bullets
    EXPECT_EQ(get_pixel(fb, 4, 45), 15);  // marker at x0 = 2
    EXPECT_EQ(get_pixel(fb, 2, 47), 15);
    f.sys().frame.clear();
    p.bullets = 2500;
    hud_first_half(f.sys(), *f.game);
    EXPECT_EQ(get_pixel(fb, 0, 40), 22);
    EXPECT_EQ(get_pixel(fb, 0, 44), 28);
    EXPECT_EQ(get_pixel(fb, 1, 40), 24);
    EXPECT_EQ(get_pixel(fb, 1, 45), 30);
    EXPECT_EQ(get_pixel(fb, 3, 49), 24);
    EXPECT_EQ(get_pixel(fb, 4, 49), 22);
    EXPECT_EQ(get_pixel(fb, 99, 42), 28);
    EXPECT_EQ(get_pixel(fb, 100, 42), 0);
    EXPECT_EQ(get_pixel(fb, 104, 45), 15);
}

TEST(Hud, WeaponMarkerFollowsTheTally) {
    test::GameFixture f;
    Player& p = f.player();
    p.plasma_count = 12;  // one tens icon and two plain: three icons
    p.weapon = 3;
    hud_first_half(f.sys(), *f.game);
    EXPECT_EQ(get_pixel(f.sys().frame, 38, 33), 15);
    EXPECT_EQ(get_pixel(f.sys().frame, 36, 35), 15);
    f.sys().frame.clear();
    p.weapon = 1;
    p.plasma_count = 0;
    hud_first_half(f.sys(), *f.game);
    for (int y = 16; y < 80; ++y)
        for (int x = 0; x < 40; ++x) ASSERT_EQ(get_pixel(f.sys().frame, x, y), 0);
}

TEST(Hud, WhiteHotDotsAlongTheBottom) {
    test::GameFixture f;
    f.player().whitehot_timer = 5;
    hud_first_half(f.sys(), *f.game);
    const FrameBuffer& fb = f.sys().frame;
    EXPECT_EQ(get_pixel(fb, 0, 199), 15);
    EXPECT_EQ(get_pixel(fb, 1, 199), 0);
    EXPECT_EQ(get_pixel(fb, 4, 199), 15);
    EXPECT_EQ(get_pixel(fb, 6, 199), 0);
    f.player().whitehot_timer = 400;
    hud_first_half(f.sys(), *f.game);
    EXPECT_EQ(get_pixel(fb, 318, 199), 15);
}

TEST(Hud, ScoreRunsUpFasterForBiggerGaps) {
    EXPECT_EQ(run_up_score(0, 10000), 123);
    EXPECT_EQ(run_up_score(0, 2000), 25);
    EXPECT_EQ(run_up_score(0, 900), 10);
    EXPECT_EQ(run_up_score(0, 400), 5);
    EXPECT_EQ(run_up_score(0, 150), 3);
    EXPECT_EQ(run_up_score(149, 150), 150);
    EXPECT_EQ(run_up_score(150, 150), 150);
    EXPECT_EQ(run_up_score(-2147483647 - 1, -2147483647 - 1), -2147483647 - 1);
    int frames = 0;
    for (int32_t shown = 0; shown != 150; shown = run_up_score(shown, 150)) ++frames;
    EXPECT_EQ(frames, 116);
}

TEST(Hud, ScoreDigitsStandRightAlignedInGroupsOfThree) {
    const int32_t xs[9] = {300, 292, 284, 274, 266, 258, 248, 240, 232};
    for (int32_t j = 0; j < 9; ++j) EXPECT_EQ(score_digit_x(j), xs[j]);
    test::GameFixture f;
    const auto& digits = f.sys().large_digits;
    f.player().score = f.player().shown_score = 1234567890;
    hud_second_half(f.sys(), *f.game);
    for (int32_t j = 0; j < 9; ++j) {
        const int d = (10 - j) % 10;  // units 0, then 9, 8, ... 2
        EXPECT_EQ(shown_at(f.sys(), xs[j], 0), digits[static_cast<size_t>(d)].at(1, 0)) << j;
    }
    EXPECT_EQ(shown_at(f.sys(), 222, 0), 0);  // a tenth digit is not shown
    f.sys().frame.clear();
    f.player().score = f.player().shown_score = 0;
    hud_second_half(f.sys(), *f.game);
    EXPECT_EQ(shown_at(f.sys(), 300, 0), digits[0].at(1, 0));
    EXPECT_EQ(shown_at(f.sys(), 292, 0), 0);
}
