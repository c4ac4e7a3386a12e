// Fixture for the world's tests: a headless System and one Game with the generated rock, block
// and built-in sprites (the pictures from data files stay empty, the pick-up icons are plain
// squares of colour 33), helpers to place foes, shots and boni, and the world's frame steps.
#pragma once

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <memory>

#include "player/boni.h"
#include "game/game_sprites.h"
#include "platform/headless_platform.h"
#include "world/world.h"

namespace qvar::test {

// A foe to place: at rest unless told.
struct FoeAt {
    int32_t kind, gen;
    float x, y, dx = 0.0f, dy = 0.0f;
};

struct WorldRig {
    HeadlessPlatform platform;
    std::unique_ptr<System> sys = std::make_unique<System>(platform);
    std::unique_ptr<Game> game = std::make_unique<Game>();

    explicit WorldRig(std::initializer_list<FoeAt> foes = {}) {
        Random own;  // the rock speckle must not move the rig's generator
        build_rock_sprites(game->sprites, own);
        build_block_sprites(game->sprites);
        set_builtin_sprites(game->sprites);
        game->sprites.bonus_icons.fill(make_sprite(10, 10, 33));
        for (const FoeAt& f : foes) add_foe(f.kind, f.gen, f.x, f.y, f.dx, f.dy);
    }
    Player& player() { return game->player; }
    FoePool& foes() { return game->foes; }
    ShotPool& shots() { return game->shots; }
    HitPairs& hits() { return game->hits; }
    SparkPool& sparks() { return sys->sparks; }

    // Appends a foe and returns its slot.
    int32_t add_foe(int32_t kind, int32_t gen, float x, float y, float dx = 0.0f, float dy = 0.0f) {
        FoePool& f = game->foes;
        const int32_t i = f.count++;
        f.x[i] = x, f.y[i] = y, f.dx[i] = dx, f.dy[i] = dy, f.angle[i] = f.spin[i] = 0.0f;
        f.kind[i] = kind, f.gen[i] = gen;
        return i;
    }
    void add_shot(float x, float y, float dx = 0.0f, float dy = 0.0f, int32_t kind = 1) {
        ShotPool& s = game->shots;
        const int32_t i = s.count++;
        s.x[i] = x, s.y[i] = y, s.dx[i] = dx, s.dy[i] = dy, s.kind[i] = kind, s.life[i] = 50;
    }
    void add_bonus(int32_t kind, float x, float y, float dx = 0.0f, float dy = 0.0f) {
        BonusPool& b = game->boni;
        const int32_t i = b.count++;
        b.x[i] = x, b.y[i] = y, b.dx[i] = dx, b.dy[i] = dy, b.kind[i] = kind;
    }
    void ship_at(float x, float y) { player().ship_x = x, player().ship_y = y; }

    // The world's steps of one frame, in frame order, as far as the one named.
    void pass() { prepare_foe_pass(*game), foe_step(*sys, *game); }
    void pass_and_hits() { pass(), apply_hit_pairs(*game); }
    void destroy() { destroy_step(*sys, *game); }
    void boni() { boni_step(*sys, *game); }
    // Places one foe marked dead and runs the destroy step.
    void destroy_one(int32_t kind, int32_t gen, float x, float y, float dx = 0.0f, float dy = 0.0f) {
        foes().dead.set(add_foe(kind, gen, x, y, dx, dy), 1);
        destroy();
    }
};

// Advances rng until the next random_int(n) it would give satisfies pred.
template <class Pred>
void advance_until(Random& rng, int32_t n, Pred pred) {
    for (Random probe = rng; !pred(random_int(probe, n)); probe = rng) random_int(rng, n);
}

// Whether the first n entries of every column given are finite.
template <class... Column>
bool finite(int32_t n, const Column&... column) {
    return (std::all_of(column.begin(), column.begin() + n, [](float v) { return std::isfinite(v); }) && ...);
}

inline bool all_finite(const Game& g, const SparkPool& sp) {
    const FoePool& f = g.foes;
    const ShotPool& s = g.shots;
    const BonusPool& b = g.boni;
    return finite(f.count, f.x, f.y, f.dx, f.dy, f.angle, f.spin) && finite(s.count, s.x, s.y, s.dx, s.dy) &&
           finite(b.count, b.x, b.y, b.dx, b.dy) && finite(sp.count, sp.x, sp.y, sp.dx, sp.dy) &&
           std::isfinite(g.player.ship_vx) && std::isfinite(g.player.ship_vy);
}

}  // namespace qvar::test
