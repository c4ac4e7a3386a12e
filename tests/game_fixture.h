// A headless rig with one game set up from the test data files, for the game's tests.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "game/game.h"
#include "game/game_state.h"
#include "game/setup.h"
#include "screens/progress_file.h"
#include "test_support.h"

namespace qvar::test {

struct GameFixture {
    explicit GameFixture(GameStart start = {}) : game(std::make_unique<Game>()) {
        std::string error;
        ready = set_up_game(sys(), *game, start, progress, error);
        EXPECT_TRUE(ready) << error;
    }
    System& sys() { return *rig.sys; }
    Player& player() { return game->player; }
    // Adds a live foe of kind 1 at (x, y) without any of the world's rules.
    void add_foe(float x, float y) {
        const auto i = static_cast<size_t>(game->foes.count++);
        game->foes.x[i] = x;
        game->foes.y[i] = y;
        game->foes.kind[i] = ROCK;
        game->foes.gen[i] = 5;
    }
    // Adds a live shot with the given motion, life and kind.
    void add_shot(float x, float y, float dx, float dy, int32_t life, int32_t kind) {
        const auto i = static_cast<size_t>(game->shots.count++);
        ShotPool& s = game->shots;
        s.x[i] = x;
        s.y[i] = y;
        s.dx[i] = dx;
        s.dy[i] = dy;
        s.life[i] = life;
        s.kind[i] = kind;
        s.spent.set(static_cast<int32_t>(i), 0);
    }

    TestRig rig;
    LevelProgress progress;
    std::unique_ptr<Game> game;
    bool ready = false;
};

}  // namespace qvar::test
