// A game's set-up: starting state, the start burst, the turned ship, the generated sprites,
// and what happens when a data file is bad.
#include <gtest/gtest.h>

#include <cmath>

#include "game/game_sprites.h"
#include "game/sparks.h"
#include "game_fixture.h"
#include "gfx/data_files.h"
#include "gfx/data_layout.h"

using namespace qvar;

TEST(GameSetup, StartsWithThreeShipsOneGunAndEmptyPools) {
    test::GameFixture f;
    const Player& p = f.player();
    EXPECT_EQ(p.ships, 3);
    EXPECT_EQ(p.level, 0);
    EXPECT_EQ(p.score, 0);
    EXPECT_EQ(p.weapon, 1);
    EXPECT_EQ(p.spread, 1);
    EXPECT_EQ(p.stream, 1);
    EXPECT_EQ(p.surround, 0);
    EXPECT_FLOAT_EQ(p.shot_speed, 3.0f);
    EXPECT_FLOAT_EQ(p.ship_x, 160.0f);
    EXPECT_FLOAT_EQ(p.ship_y, 100.0f);
    EXPECT_FLOAT_EQ(p.heading_y, -1.0f);
    EXPECT_EQ(f.game->foes.count, 0);
    EXPECT_EQ(f.game->shots.count, 0);
    EXPECT_EQ(f.game->debris.count, 0);
    EXPECT_EQ(f.game->boni.count, 0);
    EXPECT_EQ(f.game->progress, &f.progress);
}

TEST(GameSetup, TakesShipsAndLevelFromTheMenu) {
    test::GameFixture f(GameStart{19, 7});
    EXPECT_EQ(f.player().ships, 7);
    EXPECT_EQ(f.player().level, 19);
}

TEST(GameSetup, StartBurstReplacesTheMenuSparks) {
    test::TestRig rig;
    rig.sys->sparks.count = 4000;
    rig.sys->sparks.colour[1500] = 99;
    auto game = std::make_unique<Game>();
    LevelProgress progress;
    std::string error;
    ASSERT_TRUE(set_up_game(*rig.sys, *game, GameStart{}, progress, error)) << error;
    const SparkPool& s = rig.sys->sparks;
    ASSERT_EQ(s.count, 1000);
    for (size_t i = 0; i < 1000; ++i) {
        EXPECT_FLOAT_EQ(s.x[i], 160.0f);
        EXPECT_FLOAT_EQ(s.y[i], 100.0f);
        const float speed2 = s.dx[i] * s.dx[i] + s.dy[i] * s.dy[i];
        EXPECT_GE(speed2, 20.0f - 1e-3f);
        EXPECT_LE(speed2, 25.0f + 1e-3f);
        EXPECT_GE(s.colour[i], 24);
        EXPECT_LE(s.colour[i], 31);
    }
}

TEST(GameSprites, OrientationZeroIsTheFileSpriteAndOthersTurn) {
    test::GameFixture f;
    const GameSprites& gs = f.game->sprites;
    Sprite base;
    std::string error;
    ASSERT_TRUE(load_sprite_record(f.sys().paths, SPRITES_FILE, SHIP_RECORD, base, error));
    EXPECT_EQ(gs.ship[0].pixels, base.pixels);
    for (const Sprite& s : gs.ship) {
        EXPECT_EQ(s.width, 16);
        EXPECT_EQ(s.height, 16);
    }
    // 3.1 radians is all but a half turn: the picture is nearly upside down.
    int same_as_flipped = 0;
    for (int j = 0; j < 16; ++j)
        for (int i = 0; i < 16; ++i) same_as_flipped += gs.ship[31].at(i, j) == base.at(15 - i, 15 - j);
    EXPECT_GT(same_as_flipped, 200);
}

TEST(GameSprites, PixelsFromOutsideTheBaseAreTransparent) {
    const Sprite base = make_sprite(16, 16, 7);  // fully opaque
    const Sprite quarter = turn_ship_sprite(base, 8);  // 0.8 rad: corners come from outside
    EXPECT_EQ(quarter.at(0, 0), TRANSPARENT);
    EXPECT_EQ(quarter.at(15, 15), TRANSPARENT);
    EXPECT_EQ(quarter.at(8, 8), 7);
}

TEST(GameSprites, RockSizesAndBlocks) {
    test::GameFixture f;
    const GameSprites& gs = f.game->sprites;
    const uint8_t sizes[21] = {0, 10, 14, 17, 20, 22, 24, 26, 28, 30, 31, 33, 34, 36, 37, 38, 40, 41, 42, 43, 44};
    for (size_t i = 0; i < 21; ++i) EXPECT_EQ(gs.rock_sizes[i], sizes[i]) << i;
    const Sprite& rock = gs.rocks[19];
    ASSERT_EQ(rock.width, 44);
    EXPECT_EQ(rock.at(0, 0), TRANSPARENT);
    EXPECT_GE(rock.at(22, 22), 27);
    EXPECT_LE(rock.at(22, 22), 29);
    for (uint8_t p : rock.pixels) EXPECT_TRUE(p == TRANSPARENT || (p >= 20 && p <= 29));
    const int sides[4] = {2, 5, 11, 23};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(gs.blocks[i].width, sides[i]);
        EXPECT_EQ(gs.blocks[i].at(0, 0), BLOCK_COLOURS[i]);
    }
}

TEST(GameSetup, MissingSpriteFileEndsTheProgramWithAMessage) {
    test::TestRig rig;
    std::remove(rig.data_dir.file(SPRITES_FILE).c_str());
    rig.sys->sparks.count = 17;
    LevelProgress progress;
    const GameOutcome out = run_game(*rig.sys, GameStart{}, progress);
    EXPECT_TRUE(out.failed);
    EXPECT_TRUE(rig.sys->quit_requested);  // any later wait ends the program
    ASSERT_EQ(rig.platform.message_boxes().size(), 1u);
    EXPECT_NE(rig.platform.message_boxes()[0].find("Oh sod it"), std::string::npos);
    EXPECT_NE(rig.platform.message_boxes()[0].find("qvar.dat"), std::string::npos);
    EXPECT_FALSE(rig.platform.display_open());
    EXPECT_EQ(rig.sys->sparks.count, 17);  // nothing was started
    EXPECT_EQ(rig.platform.frames_presented(), 0u);
}

TEST(GameSetup, DamagedFilesAreRefused) {
    test::TestRig rig;
    // A ship record of the right size but the wrong shape (2 x 128).
    std::vector<uint8_t> bytes = test::read_bytes(rig.data_dir.file(SPRITES_FILE));
    bytes[0] = 2;
    bytes[1] = 128;
    test::write_bytes(rig.data_dir.file(SPRITES_FILE), bytes);
    auto game = std::make_unique<Game>();
    LevelProgress progress;
    std::string error;
    EXPECT_FALSE(set_up_game(*rig.sys, *game, GameStart{}, progress, error));
    EXPECT_NE(error.find("qvar.dat"), std::string::npos);

    test::TestRig short_icons;
    std::vector<uint8_t> icons = test::read_bytes(short_icons.data_dir.file(BONI_FILE));
    icons.resize(500);
    test::write_bytes(short_icons.data_dir.file(BONI_FILE), icons);
    EXPECT_FALSE(set_up_game(*short_icons.sys, *game, GameStart{}, progress, error));
    EXPECT_NE(error.find("boni.dat"), std::string::npos);
}
