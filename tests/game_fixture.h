// A headless rig with one game set up from the test data files, and the small helpers the
// game's tests share.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <initializer_list>
#include <memory>
#include <string>

#include "game/game.h"
#include "model/game_state.h"
#include "game/setup.h"
#include "store/progress_file.h"
#include "test_support.h"

namespace qvar::test {

using Pixels = std::array<uint8_t, 64000>;
struct PixelIs { int x, y, colour; };

// Checks each listed pixel of a 320 x 200 picture.
inline void expect_pixels(const Pixels& pixels, std::initializer_list<PixelIs> want) {
    for (const PixelIs& w : want) EXPECT_EQ(pixels[static_cast<size_t>(w.y * 320 + w.x)], w.colour) << w.x << "," << w.y;
}
// How many pixels have the colour, or with no colour given, are not black.
inline int count_pixels(const Pixels& pixels, int colour = -1) {
    int n = 0;
    for (uint8_t p : pixels) n += colour < 0 ? p != 0 : p == colour;
    return n;
}
inline bool has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }
// The first spark in [first, end) that is not a burst spark (from the centre at a speed from
// sqrt 20 to 5, colours 24 to 31), or -1.
inline int32_t bad_burst_spark(const SparkPool& s, int32_t first, int32_t end) {
    for (int32_t i = first; i < end; ++i) {
        const auto k = static_cast<size_t>(i);
        const float v2 = s.dx[k] * s.dx[k] + s.dy[k] * s.dy[k];
        if (s.x[k] != 160.0f || s.y[k] != 100.0f || !(v2 >= 19.999f && v2 <= 25.001f) || s.colour[k] < 24 || s.colour[k] > 31) return i;
    }
    return -1;
}

struct GameFixture {
    explicit GameFixture(GameStart start = {}) { set_up(start); }
    // Sets the game up (again) as the game screen does; the System's sparks are replaced.
    bool set_up(GameStart start) {
        std::string error;
        const bool ok = set_up_game(sys(), *game, start, progress, error);
        EXPECT_TRUE(ok) << error;
        return ok;
    }
    System& sys() { return *rig.sys; }
    Player& player() { return game->player; }
    SparkPool& sparks() { return rig.sys->sparks; }
    const Pixels& frame() { return rig.sys->frame.pixels; }
    // Adds a live foe of kind 1 at (x, y) without any of the world's rules.
    void add_foe(float x, float y) {
        const auto i = static_cast<size_t>(game->foes.count++);
        game->foes.x[i] = x, game->foes.y[i] = y, game->foes.kind[i] = ROCK, game->foes.gen[i] = 5;
    }
    // Adds a live shot with the given motion, life and kind.
    void add_shot(float x, float y, float dx, float dy, int32_t life, int32_t kind) {
        const auto i = static_cast<size_t>(game->shots.count++);
        ShotPool& s = game->shots;
        s.x[i] = x, s.y[i] = y, s.dx[i] = dx, s.dy[i] = dy, s.life[i] = life, s.kind[i] = kind;
        s.spent.set(static_cast<int32_t>(i), 0);
    }

    TestRig rig;
    LevelProgress progress;
    std::unique_ptr<Game> game = std::make_unique<Game>();
};

}  // namespace qvar::test
