// Level composition by the recursive rule, and the change to the next level.
#include <gtest/gtest.h>

#include "player/levels.h"
#include "store/progress_file.h"
#include "test_support.h"
#include "world_support.h"

using namespace qvar;
using qvar::test::WorldRig;

using Counts = std::array<int32_t, 10>;

TEST(ComposeLevel, MatchesTheTableAndFollowsTheRuleFastForHugeLevels) {
    const std::pair<int32_t, Counts> table[] = {
        {1, {1, 0, 0, 0, 0, 0, 0, 0, 0, 0}},   {2, {2, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {3, {0, 1, 0, 0, 0, 0, 0, 0, 0, 0}},   {4, {2, 1, 0, 0, 0, 0, 0, 0, 0, 0}},
        {5, {0, 2, 0, 0, 0, 0, 0, 0, 0, 0}},   {7, {2, 3, 0, 0, 0, 0, 0, 0, 0, 0}},
        {16, {2, 3, 3, 0, 0, 0, 0, 0, 0, 0}},  {20, {0, 0, 0, 1, 1, 0, 0, 0, 0, 0}},
        {27, {2, 3, 0, 2, 1, 0, 0, 0, 0, 0}},  {50, {0, 2, 3, 0, 1, 0, 0, 0, 0, 0}},
        {100, {4, 0, 3, 2, 1, 1, 2, 0, 0, 0}}, {200, {5, 6, 4, 6, 1, 4, 5, 0, 0, 0}},
        {36, {0, 0, 0, 0, 0, 0, 0, 1, 0, 0}},  {0, {}}, {-5, {}},
        {20000, {249, 394, 166, 66, 274, 234, 74, 298, 32, 338}},
    };
    for (const auto& [n, counts] : table) EXPECT_EQ(compose_level(n), counts) << "level " << n;
    for (int32_t n : {991, 5000, 1000000, 123456789, 2147483646, 2147483647}) {
        const Counts c = compose_level(n);
        const Counts a = compose_level(static_cast<int32_t>((static_cast<int64_t>(n) + 1) / 2));
        const Counts b = compose_level(static_cast<int32_t>(3 * static_cast<int64_t>(n) / 4));
        for (size_t j = 0; j < 10; ++j) EXPECT_EQ(c[j], (a[j] + b[j]) % (n / 50 + 4)) << n;
    }
    EXPECT_EQ(compose_level(2147483647)[0], 12263924);
}

namespace {

// Runs the level change from `level` on an empty field after 151 clear frames.
void next_level(WorldRig& rig, int32_t level) {
    rig.player().level = level, rig.player().clear_frames = 151;
    rig.foes().count = 0;
    level_end_step(*rig.sys, *rig.game);
}

}  // namespace

// (The 150 clear frames and the fading upgrades are pinned by the recorded games.)
TEST(LevelEnd, WaitsForTheScoreDisplayToCatchUp) {
    WorldRig rig;
    Player& p = rig.player();
    p.clear_frames = 151, p.score = 10;
    for (const int32_t shown : {0, 10}) {
        p.shown_score = shown;
        level_end_step(*rig.sys, *rig.game);
        EXPECT_EQ(p.level, shown == 10 ? 1 : 0) << shown;
    }
}

TEST(LevelEnd, FoesOfEachLevelBySlot) {
    // Level 200 in slot order; triangles take trunc(log2 r + 3) for r = 6 .. 1.
    std::vector<int32_t> kinds200;
    const std::pair<int32_t, int32_t> runs[] = {{ROCK, 5},     {WHEEL, 6},    {SAUCER, 4}, {TRIANGLE, 6},
                                                {WEB, 1}, {REPELLER, 4}, {BLOCK, 5}};
    for (const auto& [kind, n] : runs) kinds200.insert(kinds200.end(), static_cast<size_t>(n), kind);
    struct Case { int32_t level; std::vector<int32_t> kinds, gens; };
    const Case cases[] = {
        {1, {ROCK}, {5}}, {2, {ROCK, ROCK}, {8, 5}}, {3, {WHEEL}, {4}},
        {36, {CELL}, {0}},  // a placed cell starts its countdown at 0
        {200, kinds200,
         {15, 14, 11, 8, 5, 19, 16, 13, 10, 7, 4, 0, 0, 0, 0, 5, 5, 5, 4, 4, 3, 4, 0, 0, 0, 0, 3, 3, 3, 2, 2}},
    };
    for (const Case& c : cases) {
        WorldRig rig;
        rig.foes().flamed.set(30, 1);
        next_level(rig, c.level - 1);
        const FoePool& f = rig.foes();
        EXPECT_EQ(std::vector<int32_t>(f.kind.begin(), f.kind.begin() + f.count), c.kinds) << c.level;
        EXPECT_EQ(std::vector<int32_t>(f.gen.begin(), f.gen.begin() + f.count), c.gens) << c.level;
        for (int32_t k = 0; k < f.count; ++k) {
            EXPECT_TRUE(f.x[k] >= 0 && f.x[k] <= 320 && std::fabs(f.dx[k]) <= 1 && std::fabs(f.spin[k]) <= 0.05f);
            EXPECT_TRUE(f.angle[k] == 0.0f && !f.flamed.get(k));
        }
    }
    WorldRig huge;  // never more foes than the pool holds
    next_level(huge, 19999);
    ASSERT_EQ(huge.foes().count, FOE_CAPACITY);
    EXPECT_TRUE(huge.foes().kind[999] == WEB && huge.foes().gen[999] == 153);  // the 125th web of 274
}

TEST(LevelEnd, WhiteHeatEndsButTheLastingUpgradesStay) {
    WorldRig rig;
    Player& p = rig.player();
    p.whitehot_timer = 300, p.plasma_count = 7, p.bullets = 900, p.spread = 3, p.stream = 2, p.surround = 4;
    next_level(rig, 0);
    EXPECT_TRUE(p.whitehot_timer == 0 && p.plasma_count == 7 && p.bullets == 900 && p.spread == 3 && p.stream == 2 && p.surround == 4);
}

TEST(LevelEnd, TenthLevelRecordsTheShipsOnArrivalOnlyWhenMore) {
    qvar::test::TempDir user;
    std::vector<uint8_t> bytes(PROGRESS_ENTRIES, 0);
    bytes[1] = 3, bytes[2] = 9;
    qvar::test::write_bytes(user.file("saved.dat"), bytes);
    Paths paths;
    paths.user_dir = user.path();
    LevelProgress progress = load_level_progress(paths);
    // From level 9 with the 3 ships stored for level 10 (nothing to write), then with 4; on to
    // level 11 (no tenth level) and level 20 (which holds 9) with 7. What saved.dat holds for 10:
    const std::array<int32_t, 3> cases[] = {{9, 3, 3}, {9, 4, 4}, {10, 7, 4}, {19, 7, 4}};
    for (const auto& [from, ships, tenth] : cases) {
        WorldRig rig;
        rig.game->progress = &progress;
        rig.player().ships = ships;
        next_level(rig, from);
        bytes[1] = static_cast<uint8_t>(tenth);
        EXPECT_EQ(qvar::test::read_bytes(user.file("saved.dat")), bytes) << from;
    }
    EXPECT_EQ(progress.ships[1], 4);
}
