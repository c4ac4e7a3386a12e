// The repeller, which throws back everything within 50 pixels, and the spinner, which sprays a
// jet of sparks and pulls foes, shots and the ship toward itself.
#include "world/world_internal.h"
#include "util/float_math.h"

namespace qvar::world {

namespace {

constexpr float REPEL_RANGE2 = 2500.0f;  // 50 pixels, squared

bool any_shot_within(const ShotBands& s, float x, float y, float r2) {
    bool any = false;
    scan_round(s, x, y, r2, [&any](int32_t) { any = true; });
    return any;
}

void turn_back_foes(FoePool& f, int32_t first, int32_t end, float x, float y) {
    lanes::turn_back(f.x.data(), f.y.data(), f.dx.data(), f.dy.data(), f.spin.data(), first, end, x, y);
}

void repel(PassState& ps, int32_t i, float x, float y) {
    Game& g = ps.game;
    turn_back_foes(g.foes, 0, i, x, y);  // every other foe
    turn_back_foes(g.foes, i + 1, g.foes.count, x, y);
    lanes::turn_back(g.shots.x.data(), g.shots.y.data(), g.shots.dx.data(), g.shots.dy.data(), nullptr, 0, g.shots.count,
              x, y);
    SparkPool& sp = ps.sys.sparks;
    lanes::turn_back(sp.x.data(), sp.y.data(), sp.dx.data(), sp.dy.data(), nullptr, 0, sp.count, x, y);
    lanes::turn_back(g.boni.x.data(), g.boni.y.data(), g.boni.dx.data(), g.boni.dy.data(), nullptr, 0, g.boni.count, x, y);
    Player& p = g.player;
    if (square(p.ship_x - x) + square(p.ship_y - y) < REPEL_RANGE2) {
        p.ship_vx = -p.ship_vx;
        p.ship_vy = -p.ship_vy;
    }
    // A ring of 80 dots; the angle follows the slot number, so the dots of one frame may
    // start anywhere round it. They are not wrapped: the edges clip them.
    DebrisPool& d = g.debris;
    const SlotRange r = pool_append(d, 80);
    for (int32_t k = r.first; k < r.end; ++k) {
        const auto s = static_cast<size_t>(k);
        const float a = TWO_PI * static_cast<float>(k) / 80.0f;
        d.x[s] = trunc_i32(x + 50.0f * cosine(a));
        d.y[s] = trunc_i32(y + 50.0f * sine(a));
        d.colour[s] = 7;
    }
}

}  // namespace

void step_repeller(PassState& ps, int32_t i) {
    const FoePool& f = ps.game.foes;
    const auto k = static_cast<size_t>(i);
    const float x = f.x[k], y = f.y[k];
    contact_box(ps, x, y, 15.0f, 12.0f);
    // The ship triggers it also while it is exploding.
    const bool triggered =
        ps.ship_distance2 < REPEL_RANGE2 || any_shot_within(ps.shots, x, y, REPEL_RANGE2);
    if (triggered) repel(ps, i, x, y);
    draw_sprite_at(ps.sys.frame, x, y, 10.0f, 7.0f, ps.game.sprites.repeller);
    shot_test_box(ps, i, x, y, 10.0f, 8.0f);
}

namespace {

void spinner_jet(PassState& ps, int32_t i) {
    const FoePool& f = ps.game.foes;
    const auto k = static_cast<size_t>(i);
    SparkPool& sp = ps.sys.sparks;
    Random& rng = ps.sys.rng;
    const SlotRange r = pool_append(sp, 5);
    for (int32_t s = r.first; s < r.end; ++s) {
        const auto q = static_cast<size_t>(s);
        const float speed_x = random_real(rng, 1.0f) + 3.0f;
        const float off_x = random_real(rng, 0.1f);
        const float speed_y = random_real(rng, 1.0f) + 3.0f;
        const float off_y = random_real(rng, 0.1f);
        sp.x[q] = f.x[k];
        sp.y[q] = f.y[k];
        sp.dx[q] = speed_x * sine(off_x + f.angle[k]) + f.dx[k];
        sp.dy[q] = speed_y * cosine(off_y + f.angle[k]) + f.dy[k];
        sp.colour[q] = random_int(rng, 2) == 0 ? 11 : 15;
    }
}

}  // namespace

void step_spinner(PassState& ps, int32_t i) {
    FoePool& f = ps.game.foes;
    const auto k = static_cast<size_t>(i);
    Player& p = ps.game.player;
    contact_round(ps, 5.0f);
    if (f.dx[k] * f.dx[k] + f.dy[k] * f.dy[k] > 1.0f) {
        f.dx[k] *= 0.9f;
        f.dy[k] *= 0.9f;
    }
    if (f.spin[k] > 0.05f) f.spin[k] *= 0.997f;  // only a positive spin decays
    const float x = f.x[k], y = f.y[k];
    draw_sprite_at(ps.sys.frame, x, y, 5.0f, 5.0f, ps.game.sprites.spinner);
    spinner_jet(ps, i);
    lanes::pull_foes(f, 0, i, x, y);  // every other foe
    lanes::pull_foes(f, i + 1, f.count, x, y);
    lanes::pull_shots(ps.game.shots, x, y);
    const float ex = x - p.ship_x, ey = y - p.ship_y;
    float q = ex * ex + ey * ey;
    q = q < 100.0f ? 100.0f : q;
    p.ship_vx += 0.3f * ex / q;
    p.ship_vy += 0.3f * ey / q;
    // Each hit spins it up by 0.1; only the hit that lifts the spin above 0.8 destroys it.
    HitPairs& hits = ps.game.hits;
    float& spin = f.spin[k];
    scan_round(ps.shots, x, y, 36.0f, [&](int32_t j) {
        spin += 0.1f;
        add_hit_pair(hits, spin > 0.8f ? i : -1, j);
    });
}

}  // namespace qvar::world
