// The repeller, which throws back everything within 50 pixels, and the spinner, which sprays a
// jet of sparks and pulls foes, shots and the ship toward itself.
#include "world/world_internal.h"

namespace qvar::world {

namespace {

constexpr float REPEL_RANGE2 = 2500.0f;  // 50 pixels, squared

bool any_shot_within(const ShotPool& s, float x, float y, float r2) {
    bool any = false;
    scan_round(s, x, y, r2, [&any](int32_t) { any = true; });
    return any;
}

// Turns back every entry of [first, end) that lies within 50 pixels of (x, y): its velocity
// (and spin, when given) changes sign. Four entries at a time; a sign flip is exactly -v.
void turn_back(const float* px, const float* py, float* vx, float* vy, float* spin, int32_t first, int32_t end,
               float x, float y) {
    using namespace simd;
    const v4f cx = splat(x), cy = splat(y), range = splat(REPEL_RANGE2);
    int32_t j = first;
    for (; j + 4 <= end; j += 4) {
        const v4f dx = load(px + j) - cx, dy = load(py + j) - cy;
        const v4i in = dx * dx + dy * dy < range;
        store(vx + j, negate_where(load(vx + j), in));
        store(vy + j, negate_where(load(vy + j), in));
        if (spin != nullptr) store(spin + j, negate_where(load(spin + j), in));
    }
    for (; j < end; ++j) {
        if (!(square(px[j] - x) + square(py[j] - y) < REPEL_RANGE2)) continue;
        vx[j] = -vx[j];
        vy[j] = -vy[j];
        if (spin != nullptr) spin[j] = -spin[j];
    }
}

void turn_back_foes(FoePool& f, int32_t first, int32_t end, float x, float y) {
    turn_back(f.x.data(), f.y.data(), f.dx.data(), f.dy.data(), f.spin.data(), first, end, x, y);
}

void repel(PassState& ps, int32_t i, float x, float y) {
    Game& g = ps.game;
    turn_back_foes(g.foes, 0, i, x, y);  // every other foe
    turn_back_foes(g.foes, i + 1, g.foes.count, x, y);
    turn_back(g.shots.x.data(), g.shots.y.data(), g.shots.dx.data(), g.shots.dy.data(), nullptr, 0, g.shots.count,
              x, y);
    SparkPool& sp = ps.sys.sparks;
    turn_back(sp.x.data(), sp.y.data(), sp.dx.data(), sp.dy.data(), nullptr, 0, sp.count, x, y);
    turn_back(g.boni.x.data(), g.boni.y.data(), g.boni.dx.data(), g.boni.dy.data(), nullptr, 0, g.boni.count, x, y);
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
        d.x[s] = trunc_i32(x + 50.0f * std::cos(a));
        d.y[s] = trunc_i32(y + 50.0f * std::sin(a));
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
        ps.ship_distance2 < REPEL_RANGE2 || any_shot_within(ps.game.shots, x, y, REPEL_RANGE2);
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
        sp.dx[q] = speed_x * std::sin(off_x + f.angle[k]) + f.dx[k];
        sp.dy[q] = speed_y * std::cos(off_y + f.angle[k]) + f.dy[k];
        sp.colour[q] = random_int(rng, 2) == 0 ? 11 : 15;
    }
}

// Pulls [first, end) toward (x, y) by 0.3 / distance, the distance floored at 10 pixels.
void pull_foes(FoePool& f, int32_t first, int32_t end, float x, float y) {
    using namespace simd;
    const v4f cx = splat(x), cy = splat(y), floor = splat(100.0f), k = splat(0.3f);
    int32_t j = first;
    for (; j + 4 <= end; j += 4) {
        const v4f ex = cx - load(&f.x[static_cast<size_t>(j)]), ey = cy - load(&f.y[static_cast<size_t>(j)]);
        v4f q = ex * ex + ey * ey;
        q = select(q < floor, floor, q);
        store(&f.dx[static_cast<size_t>(j)], load(&f.dx[static_cast<size_t>(j)]) + k * ex / q);
        store(&f.dy[static_cast<size_t>(j)], load(&f.dy[static_cast<size_t>(j)]) + k * ey / q);
    }
    for (; j < end; ++j) {
        const auto i = static_cast<size_t>(j);
        const float ex = x - f.x[i], ey = y - f.y[i];
        float q = ex * ex + ey * ey;
        q = q < 100.0f ? 100.0f : q;
        f.dx[i] += 0.3f * ex / q;
        f.dy[i] += 0.3f * ey / q;
    }
}

// Shots are pulled without a floor, hard near the centre. A shot exactly on the centre has no
// direction to be pulled in and is left alone.
void pull_shots(ShotPool& s, float x, float y) {
    using namespace simd;
    const v4f cx = splat(x), cy = splat(y), one = splat(1.0f), k = splat(3.0f);
    int32_t j = 0;
    for (; j + 4 <= s.count; j += 4) {
        const v4f ex = cx - load(&s.x[static_cast<size_t>(j)]), ey = cy - load(&s.y[static_cast<size_t>(j)]);
        const v4f q = ex * ex + ey * ey;
        const v4i on_centre = q == splat(0.0f);
        const v4f safe_q = select(on_centre, one, q);
        const v4f dx = load(&s.dx[static_cast<size_t>(j)]), dy = load(&s.dy[static_cast<size_t>(j)]);
        store(&s.dx[static_cast<size_t>(j)], select(on_centre, dx, dx + k * ex / safe_q));
        store(&s.dy[static_cast<size_t>(j)], select(on_centre, dy, dy + k * ey / safe_q));
    }
    for (; j < s.count; ++j) {
        const auto i = static_cast<size_t>(j);
        const float ex = x - s.x[i], ey = y - s.y[i];
        const float q = ex * ex + ey * ey;
        if (q == 0.0f) continue;
        s.dx[i] += 3.0f * ex / q;
        s.dy[i] += 3.0f * ey / q;
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
    pull_foes(f, 0, i, x, y);
    pull_foes(f, i + 1, f.count, x, y);
    pull_shots(ps.game.shots, x, y);
    const float ex = x - p.ship_x, ey = y - p.ship_y;
    float q = ex * ex + ey * ey;
    q = q < 100.0f ? 100.0f : q;
    p.ship_vx += 0.3f * ex / q;
    p.ship_vy += 0.3f * ey / q;
    // Each hit spins it up by 0.1; only the hit that lifts the spin above 0.8 destroys it.
    HitPairs& hits = ps.game.hits;
    float& spin = f.spin[k];
    scan_round(ps.game.shots, x, y, 36.0f, [&](int32_t j) {
        spin += 0.1f;
        add_hit_pair(hits, spin > 0.8f ? i : -1, j);
    });
}

}  // namespace qvar::world
