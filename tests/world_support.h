// Fixture for the world's tests: a headless System and one Game with simple sprites of the
// right sizes, and helpers to place foes, shots and boni and to run the world's frame steps.
#pragma once

#include <memory>

#include "game/game_state.h"
#include "platform/headless_platform.h"
#include "platform/system.h"

namespace qvar::test {

// Rock sizes trunc(10 sqrt(i + 1)), discs, blocks, the foe sprites and the built-in ones.
void fill_test_sprites(GameSprites& s);

struct WorldRig {
    WorldRig();
    HeadlessPlatform platform;
    std::unique_ptr<System> sys;
    std::unique_ptr<Game> game;

    Player& player() { return game->player; }
    FoePool& foes() { return game->foes; }
    ShotPool& shots() { return game->shots; }
    SparkPool& sparks() { return sys->sparks; }

    // Appends a foe at rest (unless told) and returns its slot.
    int32_t add_foe(int32_t kind, int32_t gen, float x, float y, float dx = 0.0f, float dy = 0.0f);
    int32_t add_shot(float x, float y, float dx = 0.0f, float dy = 0.0f, int32_t kind = 1, int32_t life = 50);
    int32_t add_bonus(int32_t kind, float x, float y, float dx = 0.0f, float dy = 0.0f);

    // The world's steps of one frame, in frame order: preparation, foe pass, hit pairs,
    // destruction, debris, boni.
    void world_frame();
    // Preparation and the foe pass only.
    void pass();
    // Preparation, pass and apply_hit_pairs.
    void pass_and_hits();
};

// Advances rng until the next random_int(n) it would give satisfies pred.
template <class Pred>
void advance_until(Random& rng, int32_t n, Pred pred) {
    for (int guard = 0; guard < 100000; ++guard) {
        Random probe = rng;
        if (pred(random_int(probe, n))) return;
        random_int(rng, n);
    }
}

bool all_finite(const Game& g, const SparkPool& sparks);

}  // namespace qvar::test
