// The heads-up display: tallies, level digits, chevrons, the bar, white-hot dots, the
// weapon marker, and the score's run-up and digits.
#include <gtest/gtest.h>

#include "player/hud.h"
#include "game_fixture.h"

using namespace qvar;

namespace {

// Test pictures leave (r + c) mod 3 = 0 transparent, so pixel (1, 0) shows each one.
uint8_t shown_at(test::GameFixture& f, int x, int y) { return f.sys().frame.at(x + 1, y); }

// The first half of the HUD drawn alone on a black frame.
const test::Pixels& first_half(test::GameFixture& f) {
    f.sys().frame.clear();
    hud_first_half(f.sys(), *f.game);
    return f.frame();
}

}  // namespace

TEST(Hud, TallyShowsHundredsTensAndUnitsAndTheWeaponMarkerFollowsIt) {
    EXPECT_EQ(tally_count(1000), 10);  // ten hundreds: ten icons
    test::GameFixture f;
    const GameSprites& gs = f.game->sprites;
    const uint8_t icon = gs.bonus_icons[0].at(1, 0), tens = gs.tally_tens.at(1, 0), hundreds = gs.tally_hundreds.at(1, 0);
    ASSERT_NE(tens, hundreds);
    f.player().flame_count = 123, f.player().weapon = 2;
    first_half(f);
    const struct { int x; uint8_t want; } cells[] = {{0, hundreds}, {12, tens}, {24, tens}, {36, icon}, {60, icon}, {72, 0}};
    for (const auto& c : cells) EXPECT_EQ(shown_at(f, c.x, 16), c.want) << c.x;
    test::expect_pixels(f.frame(), {{74, 21, 15}, {72, 23, 15}});  // the marker after six icons
}

TEST(Hud, LevelDigitsRightAlignedAndShipChevronsWithTheLastInRed) {
    test::GameFixture f;
    test::expect_pixels(first_half(f), {{46, 2, 14}, {51, 4, 14}, {52, 2, 12}, {54, 4, 12}, {55, 2, 0}});
    const auto digit = [&](int d) { return d < 0 ? 0 : f.sys().large_digits_swapped[static_cast<size_t>(d)].at(1, 0); };
    const struct { int32_t level; int at_16, at_24, at_32; } cases[] = {{7, -1, -1, 7}, {12, -1, 1, 2}};
    for (const auto& c : cases) {
        f.player().level = c.level;
        first_half(f);
        EXPECT_EQ(std::make_tuple(shown_at(f, 16, 0), shown_at(f, 24, 0), shown_at(f, 32, 0)),
                  std::make_tuple(digit(c.at_16), digit(c.at_24), digit(c.at_32))) << c.level;
    }
    f.player().ships = 255;  // chevrons run off the screen without harm
    first_half(f);
}

TEST(Hud, BulletBarWhiteHotDotsAndTheWeaponMarker) {
    test::GameFixture f;
    Player& p = f.player();
    // No column below 25 bullets; the marker at x0 = 2; a dot for each white-hot frame.
    p.bullets = 24, p.weapon = 5, p.whitehot_timer = 5;
    test::expect_pixels(first_half(f), {{0, 40, 0}, {4, 45, 15}, {2, 47, 15}, {0, 199, 15}, {1, 199, 0}, {4, 199, 15}, {6, 199, 0}});
    p.bullets = 2500, p.whitehot_timer = 400;
    test::expect_pixels(first_half(f), {{0, 40, 22}, {0, 44, 28}, {1, 40, 24}, {1, 45, 30}, {3, 49, 24}, {4, 49, 22},
                                        {99, 42, 28}, {100, 42, 0}, {104, 45, 15}, {318, 199, 15}});
    p.weapon = 1, p.bullets = 0;  // no supplies: no tallies and no marker
    first_half(f);
    for (int y = 16; y < 80; ++y)
        for (int x = 0; x < 40; ++x) ASSERT_EQ(f.sys().frame.at(x, y), 0) << x << "," << y;
}

TEST(Hud, ScoreRunsUpFasterForBiggerGapsAndItsDigitsStandInGroupsOfThree) {
    const int32_t lowest = -2147483647 - 1;
    const struct { int32_t shown, score, next; } steps[] = {{0, 10000, 123}, {0, 2000, 25}, {0, 900, 10}, {0, 400, 5},
                                                            {0, 150, 3}, {149, 150, 150}, {150, 150, 150}, {lowest, lowest, lowest}};
    for (const auto& s : steps) EXPECT_EQ(run_up_score(s.shown, s.score), s.next) << s.shown << " -> " << s.score;
    // (A run-up over many frames is the respawn test's: 0 to 150 takes 116.)
    // The digits stand right-aligned in groups of three.
    test::GameFixture f;
    f.player().score = f.player().shown_score = 1234567890;
    hud_second_half(f.sys(), *f.game);
    const int xs[10] = {300, 292, 284, 274, 266, 258, 248, 240, 232, 222};
    for (size_t j = 0; j < 9; ++j)  // units 0, then 9, 8, ... 2
        EXPECT_EQ(shown_at(f, xs[j], 0), f.sys().large_digits[(10 - j) % 10].at(1, 0)) << j;
    EXPECT_EQ(shown_at(f, xs[9], 0), 0);  // a tenth digit is not shown
}
