// A whole game on the headless backend: a player that aims and fires clears level 1 through
// the real set-up and frame loop, and level 2 begins with its two rocks.
#include <gtest/gtest.h>

#include "game/frame.h"
#include "game/setup.h"
#include "soak_support.h"

using namespace qvar;

TEST(EndToEnd, ClearingLevelOneBringsLevelTwo) {
    test::TestRig rig;
    LevelProgress progress = load_level_progress(rig.sys->paths);
    auto game = std::make_unique<Game>();
    std::string error;
    ASSERT_TRUE(set_up_game(*rig.sys, *game, GameStart{0, 3}, progress, error)) << error;
    test::SoakPlayer player;
    player.greedy_for_boni = false;
    int frames = 0;
    bool saw_level_one = false;
    while (game->player.level < 2 && frames < 30000 && !game_should_end(*rig.sys, *game)) {
        player.choose_keys(rig.platform, *game);
        run_frame(*rig.sys, *game);
        ++frames;
        saw_level_one = saw_level_one || (game->player.level == 1 && game->foes.count == 1);
        ASSERT_EQ(test::check_world(*rig.sys, *game), "") << "frame " << frames;
    }
    ASSERT_TRUE(saw_level_one);
    ASSERT_EQ(game->player.level, 2) << "after " << frames << " frames";
    // Level 1's rock of size step 5 broke down to five of size 1: four splits at 5 points and
    // five small rocks at 10 (a pick-up of points may add more).
    const GameTally& t = game->tally;
    EXPECT_EQ(t.born[ROCK], 1u + 2u * t.split[ROCK] + 2u);
    EXPECT_EQ(t.destroyed[ROCK], 9u);
    EXPECT_EQ(t.split[ROCK], 4u);
    EXPECT_GE(game->player.score, 70);
    ASSERT_EQ(game->foes.count, 2);
    EXPECT_EQ(game->foes.gen[0], 8);
    EXPECT_EQ(game->foes.gen[1], 5);
    EXPECT_EQ(game->player.invincible, 250);
    EXPECT_GT(rig.platform.frames_presented(), 150u);
}
