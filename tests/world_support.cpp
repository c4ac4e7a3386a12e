// The world test fixture.
#include "world_support.h"

#include <cmath>

#include "game/boni.h"
#include "util/numeric.h"
#include "world/world.h"

namespace qvar::test {

void fill_test_sprites(GameSprites& s) {
    s.rock_sizes[0] = 0;
    for (int32_t i = 0; i < ROCK_SPRITE_COUNT; ++i) {
        const int32_t d = trunc_i32(10.0f * std::sqrt(static_cast<float>(i + 1)));
        s.rock_sizes[static_cast<size_t>(i + 1)] = static_cast<uint8_t>(d);
        s.rocks[static_cast<size_t>(i)] = make_sprite(static_cast<uint8_t>(d), static_cast<uint8_t>(d), 24);
    }
    for (int32_t i = 0; i < 4; ++i) {
        const auto side = static_cast<uint8_t>(3 * (1 << i) - 1);
        s.blocks[static_cast<size_t>(i)] = make_sprite(side, side, BLOCK_COLOURS[i]);
    }
    s.saucer = make_sprite(15, 7, 13);
    s.repeller = make_sprite(20, 15, 11);
    s.cell[0] = make_sprite(12, 12, 10);
    s.cell[1] = make_sprite(12, 12, 2);
    s.spinner = make_sprite(10, 10, 14);
    for (auto& icon : s.bonus_icons) icon = make_sprite(10, 10, 33);
    s.shot = shot_sprite();
    s.bullet = bullet_sprite();
    s.pellet = pellet_sprite();
    s.core = core_sprite();
}

WorldRig::WorldRig() : sys(std::make_unique<System>(platform)), game(std::make_unique<Game>()) {
    fill_test_sprites(game->sprites);
}

int32_t WorldRig::add_foe(int32_t kind, int32_t gen, float x, float y, float dx, float dy) {
    FoePool& f = game->foes;
    const int32_t i = f.count++;
    const auto k = static_cast<size_t>(i);
    f.x[k] = x;
    f.y[k] = y;
    f.dx[k] = dx;
    f.dy[k] = dy;
    f.angle[k] = 0.0f;
    f.spin[k] = 0.0f;
    f.kind[k] = kind;
    f.gen[k] = gen;
    return i;
}

int32_t WorldRig::add_shot(float x, float y, float dx, float dy, int32_t kind, int32_t life) {
    ShotPool& s = game->shots;
    const int32_t i = s.count++;
    const auto k = static_cast<size_t>(i);
    s.x[k] = x;
    s.y[k] = y;
    s.dx[k] = dx;
    s.dy[k] = dy;
    s.kind[k] = kind;
    s.life[k] = life;
    return i;
}

int32_t WorldRig::add_bonus(int32_t kind, float x, float y, float dx, float dy) {
    BonusPool& b = game->boni;
    const int32_t i = b.count++;
    const auto k = static_cast<size_t>(i);
    b.x[k] = x;
    b.y[k] = y;
    b.dx[k] = dx;
    b.dy[k] = dy;
    b.kind[k] = kind;
    return i;
}

void WorldRig::pass() {
    prepare_foe_pass(*game);
    foe_step(*sys, *game);
}

void WorldRig::pass_and_hits() {
    pass();
    apply_hit_pairs(*game);
}

void WorldRig::world_frame() {
    pass_and_hits();
    destroy_step(*sys, *game);
    debris_step(*sys, *game);
    boni_step(*sys, *game);
}

bool all_finite(const Game& g, const SparkPool& sparks) {
    auto ok = [](const auto& a, int32_t n) {
        for (int32_t i = 0; i < n; ++i)
            if (!std::isfinite(a[static_cast<size_t>(i)])) return false;
        return true;
    };
    const FoePool& f = g.foes;
    const ShotPool& s = g.shots;
    const BonusPool& b = g.boni;
    return ok(f.x, f.count) && ok(f.y, f.count) && ok(f.dx, f.count) && ok(f.dy, f.count) &&
           ok(f.angle, f.count) && ok(f.spin, f.count) && ok(s.x, s.count) && ok(s.y, s.count) &&
           ok(s.dx, s.count) && ok(s.dy, s.count) && ok(b.x, b.count) && ok(b.y, b.count) &&
           ok(b.dx, b.count) && ok(b.dy, b.count) && ok(sparks.x, sparks.count) && ok(sparks.y, sparks.count) &&
           ok(sparks.dx, sparks.count) && ok(sparks.dy, sparks.count) && std::isfinite(g.player.ship_vx) &&
           std::isfinite(g.player.ship_vy);
}

}  // namespace qvar::test
