// Level composition by the recursive rule, and the change to the next level.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>

#include "game/levels.h"
#include "screens/progress_file.h"
#include "test_support.h"
#include "world_support.h"

using namespace qvar;
using qvar::test::WorldRig;

using Counts = std::array<int32_t, 10>;

TEST(ComposeLevel, MatchesTheTable) {
    const std::pair<int32_t, Counts> table[] = {
        {1, {1, 0, 0, 0, 0, 0, 0, 0, 0, 0}},   {2, {2, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {3, {0, 1, 0, 0, 0, 0, 0, 0, 0, 0}},   {4, {2, 1, 0, 0, 0, 0, 0, 0, 0, 0}},
        {5, {0, 2, 0, 0, 0, 0, 0, 0, 0, 0}},   {7, {2, 3, 0, 0, 0, 0, 0, 0, 0, 0}},
        {16, {2, 3, 3, 0, 0, 0, 0, 0, 0, 0}},  {20, {0, 0, 0, 1, 1, 0, 0, 0, 0, 0}},
        {27, {2, 3, 0, 2, 1, 0, 0, 0, 0, 0}},  {50, {0, 2, 3, 0, 1, 0, 0, 0, 0, 0}},
        {100, {4, 0, 3, 2, 1, 1, 2, 0, 0, 0}}, {200, {5, 6, 4, 6, 1, 4, 5, 0, 0, 0}},
    };
    for (const auto& [n, counts] : table) EXPECT_EQ(compose_level(n), counts) << "level " << n;
    EXPECT_EQ(compose_level(36), (Counts{0, 0, 0, 0, 0, 0, 0, 1, 0, 0}));
    EXPECT_EQ(compose_level(0), Counts{});
    EXPECT_EQ(compose_level(-5), Counts{});
}

TEST(ComposeLevel, FollowsTheRuleAndIsFastForHugeLevels) {
    const auto start = std::chrono::steady_clock::now();
    for (int32_t n : {991, 5000, 20000, 1000000, 123456789, 2147483646, 2147483647}) {
        const Counts c = compose_level(n);
        const Counts a = compose_level(static_cast<int32_t>((static_cast<int64_t>(n) + 1) / 2));
        const Counts b = compose_level(static_cast<int32_t>(3 * static_cast<int64_t>(n) / 4));
        for (size_t j = 0; j < 10; ++j) {
            EXPECT_EQ(c[j], (a[j] + b[j]) % (n / 50 + 4)) << n;
            EXPECT_LT(c[j], n / 50 + 4);
        }
    }
    EXPECT_EQ(compose_level(2147483647)[0], 12263924);
    EXPECT_EQ(compose_level(20000), (Counts{249, 394, 166, 66, 274, 234, 74, 298, 32, 338}));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

namespace {

// Runs the level change on an empty field after 151 clear frames.
void next_level(WorldRig& rig) {
    rig.player().clear_frames = 151;
    level_end_step(*rig.sys, *rig.game);
}

}  // namespace

TEST(LevelEnd, WaitsForMoreThan150ClearFramesAndTheScoreDisplay) {
    WorldRig rig;
    rig.player().clear_frames = 150;
    level_end_step(*rig.sys, *rig.game);
    EXPECT_EQ(rig.player().level, 0);
    rig.player().clear_frames = 151;
    rig.player().score = 10;
    level_end_step(*rig.sys, *rig.game);
    EXPECT_EQ(rig.player().level, 0);
    rig.player().shown_score = 10;
    level_end_step(*rig.sys, *rig.game);
    EXPECT_EQ(rig.player().level, 1);
    EXPECT_EQ(rig.player().clear_frames, 0);
    EXPECT_EQ(rig.player().invincible, 250);
}

TEST(LevelEnd, FirstLevelsBringTheirFoes) {
    WorldRig rig;
    next_level(rig);
    ASSERT_EQ(rig.foes().count, 1);
    EXPECT_EQ(rig.foes().kind[0], ROCK);
    EXPECT_EQ(rig.foes().gen[0], 5);
    rig.foes().count = 0;
    next_level(rig);
    ASSERT_EQ(rig.foes().count, 2);
    EXPECT_EQ(rig.foes().gen[0], 8);
    EXPECT_EQ(rig.foes().gen[1], 5);
    rig.foes().count = 0;
    next_level(rig);
    ASSERT_EQ(rig.foes().count, 1);
    EXPECT_EQ(rig.foes().kind[0], WHEEL);
    EXPECT_EQ(rig.foes().gen[0], 4);
    const FoePool& f = rig.foes();
    EXPECT_GE(f.x[0], 0.0f);
    EXPECT_LE(f.x[0], 320.0f);
    EXPECT_LE(std::fabs(f.dx[0]), 1.0f);
    EXPECT_LE(std::fabs(f.spin[0]), 0.05f);
    EXPECT_FLOAT_EQ(f.angle[0], 0.0f);
}

TEST(LevelEnd, GensBySlot) {
    WorldRig rig;
    rig.player().level = 199;
    rig.foes().flamed.set(30, 1);
    next_level(rig);
    ASSERT_EQ(rig.foes().count, 31);
    const FoePool& f = rig.foes();
    // Slots in order: 5 rocks, 6 wheels, 4 saucers, 6 triangles, 1 web, 4 repellers, 5 blocks.
    const int32_t rocks[5] = {15, 14, 11, 8, 5};
    for (int k = 0; k < 5; ++k) EXPECT_EQ(f.gen[k], rocks[k]);
    for (int k = 0; k < 6; ++k) EXPECT_EQ(f.gen[5 + k], 3 * (6 - k) + 1);
    const int32_t triangles[6] = {5, 5, 5, 4, 4, 3};  // trunc(log2 r + 3) for r = 6 .. 1
    for (int k = 0; k < 6; ++k) EXPECT_EQ(f.gen[15 + k], triangles[k]);
    EXPECT_EQ(f.kind[21], WEB);
    EXPECT_EQ(f.gen[21], 4);
    EXPECT_EQ(f.kind[22], REPELLER);
    const int32_t blocks[5] = {3, 3, 3, 2, 2};
    for (int k = 0; k < 5; ++k) EXPECT_EQ(f.gen[26 + k], blocks[k]);
    EXPECT_FALSE(f.flamed.get(30));

    WorldRig cell;
    cell.player().level = 35;
    next_level(cell);
    ASSERT_EQ(cell.foes().count, 1);
    EXPECT_EQ(cell.foes().kind[0], CELL);
    EXPECT_EQ(cell.foes().gen[0], 0);  // a placed cell starts its countdown at 0
}

TEST(LevelEnd, NeverMoreFoesThanThePoolHolds) {
    WorldRig rig;
    rig.player().level = 19999;
    next_level(rig);
    ASSERT_EQ(rig.foes().count, FOE_CAPACITY);
    EXPECT_EQ(rig.foes().kind[999], WEB);
    EXPECT_EQ(rig.foes().gen[999], 153);  // the 125th web of 274
}

TEST(LevelEnd, UpgradesFadeByOneStep) {
    WorldRig rig;
    Player& p = rig.player();
    p.flame_count = 2;
    p.whitehot_timer = 300;
    p.attract = 1;
    p.retro = 3;
    p.shot_speed = 3.0f * 1.4f;
    p.plasma_count = 7;
    p.bullets = 900;
    p.spread = 3;
    p.stream = 2;
    p.surround = 4;
    next_level(rig);
    EXPECT_EQ(p.flame_count, 1);
    EXPECT_EQ(p.whitehot_timer, 0);
    EXPECT_EQ(p.attract, 0);
    EXPECT_EQ(p.retro, 2);
    EXPECT_NEAR(p.shot_speed, 3.0f, 1e-5f);
    EXPECT_EQ(p.plasma_count, 7);
    EXPECT_EQ(p.bullets, 900);
    EXPECT_EQ(p.spread, 3);
    EXPECT_EQ(p.stream, 2);
    EXPECT_EQ(p.surround, 4);
    rig.foes().count = 0;
    next_level(rig);
    EXPECT_EQ(p.shot_speed, 3.0f);
    EXPECT_EQ(p.attract, 0);
}

TEST(LevelEnd, TenthLevelRecordsTheShipsOnArrivalOnlyWhenMore) {
    qvar::test::TempDir user;
    std::vector<uint8_t> bytes(1001, 0);
    bytes[1] = 3;
    bytes[2] = 9;
    qvar::test::write_bytes(user.file("saved.dat"), bytes);
    Paths paths;
    paths.user_dir = user.path();
    LevelProgress progress = load_level_progress(paths);

    WorldRig same;  // started from level 10 with the 3 ships stored for it
    same.game->progress = &progress;
    same.player().level = 9;
    same.player().ships = 3;
    next_level(same);
    EXPECT_EQ(same.player().level, 10);
    EXPECT_EQ(qvar::test::read_bytes(user.file("saved.dat")), bytes);

    WorldRig more;
    more.game->progress = &progress;
    more.player().level = 9;
    more.player().ships = 4;
    next_level(more);
    bytes[1] = 4;
    EXPECT_EQ(qvar::test::read_bytes(user.file("saved.dat")), bytes);
    EXPECT_EQ(progress.ships[1], 4);

    more.player().ships = 7;  // level 11 is no tenth level
    more.foes().count = 0;
    next_level(more);
    EXPECT_EQ(qvar::test::read_bytes(user.file("saved.dat")), bytes);

    more.player().level = 19;  // level 20 holds 9: 7 is not more
    more.foes().count = 0;
    next_level(more);
    EXPECT_EQ(qvar::test::read_bytes(user.file("saved.dat")), bytes);
}
