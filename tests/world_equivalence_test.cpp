// The fast foe pass against a plain one: a crowd of lodestones, cells, spinners and repellers
// with shots, stepped frame by frame by both, must agree bit for bit. The plain pass below is
// written straight from the rules, one pair and one shot at a time.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "util/numeric.h"
#include "util/pool.h"
#include "world/world.h"
#include "world_support.h"

using namespace qvar;
using qvar::test::WorldRig;

namespace {

struct Plain {
    Game& g;
    Random& rng;
    SparkPool& sparks;

    int32_t size(int32_t gen) const { return g.sprites.rock_sizes[static_cast<size_t>(gen)]; }
    void pair(int32_t foe, int32_t shot) {
        HitPairs& h = g.hits;
        const int32_t at = h.count < 500 ? h.count : 499;
        h.foe[static_cast<size_t>(at)] = foe;
        h.shot[static_cast<size_t>(at)] = shot;
        if (h.count < 500) ++h.count;
    }
    void round_test(int32_t i, float x, float y, float r2) {
        for (int32_t j = 0; j < g.shots.count; ++j)
            if (square(g.shots.x[static_cast<size_t>(j)] - x) + square(g.shots.y[static_cast<size_t>(j)] - y) < r2) pair(i, j);
    }

    void cell(int32_t i) {
        FoePool& f = g.foes;
        const auto k = static_cast<size_t>(i);
        f.gen[k] -= 1;
        if (f.gen[k] < 0) {
            float crowding = 0.0f;
            for (int32_t j = 0; j < f.count; ++j) {
                if (j == i || f.kind[static_cast<size_t>(j)] != CELL) continue;
                float ax = std::fabs(f.x[k] - f.x[static_cast<size_t>(j)]);
                float ay = std::fabs(f.y[k] - f.y[static_cast<size_t>(j)]);
                if (ax > 160.0f) ax = 320.0f - ax;
                if (ay > 100.0f) ay = 200.0f - ay;
                crowding += 1000000.0f / (ax * ax + ay * ay + 1.0f);
            }
            if (crowding > 1000.0f) f.gen[k] = 0;
        }
        if (f.gen[k] < -100) {
            const float u = random_real(rng, 1.0f) - 0.5f, w = random_real(rng, 1.0f) - 0.5f;
            if (f.count < FOE_CAPACITY) {
                const int32_t c = f.count++;
                const auto n = static_cast<size_t>(c);
                f.x[n] = f.x[k], f.y[n] = f.y[k], f.dx[n] = f.dx[k] + u, f.dy[n] = f.dy[k] + w;
                f.angle[n] = f.spin[n] = 0.0f, f.gen[n] = 0, f.kind[n] = CELL;
                f.flamed.set(c, f.flamed.get(i)), f.plasma.set(c, f.plasma.get(i)), f.whitehot.set(c, f.whitehot.get(i));
                f.dead.set(c, 0);
                f.dx[k] -= u, f.dy[k] -= w;
            }
            f.gen[k] = 0;
        }
        if (f.dx[k] * f.dx[k] + f.dy[k] * f.dy[k] > 0.01f) f.dx[k] *= 0.99f, f.dy[k] *= 0.99f;
        for (int32_t j = 0; j < g.shots.count; ++j) {
            if (!(square(g.shots.x[static_cast<size_t>(j)] - f.x[k]) + square(g.shots.y[static_cast<size_t>(j)] - f.y[k]) < 49.0f)) continue;
            if (f.gen[k] != 0) {
                pair(i, j);
            } else {
                f.gen[k] = 50;
                f.dx[k] += g.shots.dx[static_cast<size_t>(j)] / 5.0f;
                f.dy[k] += g.shots.dy[static_cast<size_t>(j)] / 5.0f;
                pair(-1, j);
            }
        }
    }

    int32_t lodestone(int32_t i) {
        FoePool& f = g.foes;
        for (int32_t j = 0; j < f.count; ++j) {
            const auto s = static_cast<size_t>(i), o = static_cast<size_t>(j);
            if (f.kind[o] != LODESTONE || j == i || f.gen[s] + f.gen[o] >= 20) continue;
            const float ex = f.x[o] - f.x[s], ey = f.y[o] - f.y[s], q = ex * ex + ey * ey;
            const float touch = 0.5f * static_cast<float>(size(f.gen[s]) + size(f.gen[o]));
            if (q < touch * touch) {
                const float mi = static_cast<float>(f.gen[s]), mj = static_cast<float>(f.gen[o]);
                const float t = static_cast<float>(f.gen[s] + f.gen[o]);
                f.x[s] = (mi * f.x[s] + mj * f.x[o]) / t;
                f.y[s] = (mi * f.y[s] + mj * f.y[o]) / t;
                const float lim = static_cast<float>(size(f.gen[s]) + size(f.gen[o]));
                for (int32_t c = 0; c < g.boni.count; ++c)
                    if (square(g.boni.x[static_cast<size_t>(c)] - f.x[s]) + square(g.boni.y[static_cast<size_t>(c)] - f.y[s]) < lim)
                        pool_remove(g.boni, c);
                f.dx[s] = (mi * f.dx[s] + mj * f.dx[o]) / t;
                f.dy[s] = (mi * f.dy[s] + mj * f.dy[o]) / t;
                f.gen[s] += f.gen[o];
                f.flamed.set(i, f.flamed.get(i) | f.flamed.get(j));
                f.plasma.set(i, f.plasma.get(i) | f.plasma.get(j));
                f.whitehot.set(i, f.whitehot.get(i) | f.whitehot.get(j));
                const int32_t last = f.count - 1;
                pool_remove(f, j);
                if (last == i) {
                    f.dead.set(j, f.dead.get(last));
                    f.dead.set(last, 0);
                    i = j;
                }
            } else {
                const float e = std::sqrt(q);
                f.dx[s] += static_cast<float>(f.gen[o]) * ex / e / q;
                f.dy[s] += static_cast<float>(f.gen[o]) * ey / e / q;
                f.dx[o] -= static_cast<float>(f.gen[s]) * ex / e / q;
                f.dy[o] -= static_cast<float>(f.gen[s]) * ey / e / q;
            }
        }
        const auto s = static_cast<size_t>(i);
        if (f.dx[s] * f.dx[s] + f.dy[s] * f.dy[s] > 1.0f) f.dx[s] *= 0.99f, f.dy[s] *= 0.99f;
        const int32_t h = size(f.gen[s]) / 2;
        round_test(i, f.x[s], f.y[s], static_cast<float>(h * h));
        return i;
    }

    void repeller(int32_t i) {
        FoePool& f = g.foes;
        const float x = f.x[static_cast<size_t>(i)], y = f.y[static_cast<size_t>(i)];
        bool on = square(g.player.ship_x - x) + square(g.player.ship_y - y) < 2500.0f;
        for (int32_t j = 0; j < g.shots.count; ++j)
            on = on || square(g.shots.x[static_cast<size_t>(j)] - x) + square(g.shots.y[static_cast<size_t>(j)] - y) < 2500.0f;
        if (on) {
            auto within = [&](float px, float py) { return square(px - x) + square(py - y) < 2500.0f; };
            for (int32_t j = 0; j < f.count; ++j) {
                const auto o = static_cast<size_t>(j);
                if (j != i && within(f.x[o], f.y[o])) f.dx[o] = -f.dx[o], f.dy[o] = -f.dy[o], f.spin[o] = -f.spin[o];
            }
            for (int32_t j = 0; j < g.shots.count; ++j) {
                const auto o = static_cast<size_t>(j);
                if (within(g.shots.x[o], g.shots.y[o])) g.shots.dx[o] = -g.shots.dx[o], g.shots.dy[o] = -g.shots.dy[o];
            }
            for (int32_t j = 0; j < sparks.count; ++j) {
                const auto o = static_cast<size_t>(j);
                if (within(sparks.x[o], sparks.y[o])) sparks.dx[o] = -sparks.dx[o], sparks.dy[o] = -sparks.dy[o];
            }
            const SlotRange r = pool_append(g.debris, 80);
            for (int32_t k = r.first; k < r.end; ++k) {
                const float a = 6.2831854820251465f * static_cast<float>(k) / 80.0f;
                g.debris.x[static_cast<size_t>(k)] = trunc_i32(x + 50.0f * std::cos(a));
                g.debris.y[static_cast<size_t>(k)] = trunc_i32(y + 50.0f * std::sin(a));
            }
        }
        for (int32_t j = 0; j < g.shots.count; ++j)
            if (std::fabs(g.shots.x[static_cast<size_t>(j)] - x) <= 10.0f && std::fabs(g.shots.y[static_cast<size_t>(j)] - y) <= 8.0f) pair(i, j);
    }

    void frame() {
        prepare_foe_pass(g);
        FoePool& f = g.foes;
        for (int32_t i = 0; i < f.count; ++i) {
            const auto k = static_cast<size_t>(i);
            f.x[k] += f.dx[k], f.y[k] += f.dy[k], f.angle[k] += f.spin[k];
            if (f.x[k] < 0.0f) f.x[k] += 320.0f;
            if (f.x[k] > 320.0f) f.x[k] -= 320.0f;
            if (f.y[k] < 0.0f) f.y[k] += 200.0f;
            if (f.y[k] > 200.0f) f.y[k] -= 200.0f;
            if (g.hits.count >= 500) g.hits.count = 499;
            if (f.kind[k] == CELL) cell(i);
            if (f.kind[k] == LODESTONE) lodestone(i);
            if (f.kind[k] == REPELLER) repeller(i);
        }
    }
};

void crowd(WorldRig& rig, uint32_t seed, int32_t cells) {
    Random r;
    r.lcg = seed;
    auto place = [&](int32_t kind, int32_t gen) {
        const int32_t i = rig.add_foe(kind, gen, random_real(r, 320.0f), random_real(r, 200.0f),
                                      random_real(r, 1.6f) - 0.8f, random_real(r, 1.6f) - 0.8f);
        rig.foes().spin[static_cast<size_t>(i)] = random_real(r, 0.1f) - 0.05f;
    };
    for (int i = 0; i < 260; ++i) place(LODESTONE, 1 + random_int(r, 12));
    for (int i = 0; i < cells; ++i) place(CELL, -random_int(r, 100));
    for (int i = 0; i < 6; ++i) place(REPELLER, 0);
    for (int i = 0; i < 300; ++i) rig.add_shot(random_real(r, 320.0f), random_real(r, 200.0f), 1.0f, -0.5f);
    for (int i = 0; i < 80; ++i) rig.add_bonus(1 + i % 13, random_real(r, 320.0f), random_real(r, 200.0f));
    rig.sparks().count = 500;
    for (int32_t i = 0; i < 500; ++i) {
        rig.sparks().x[static_cast<size_t>(i)] = random_real(r, 320.0f);
        rig.sparks().y[static_cast<size_t>(i)] = random_real(r, 200.0f);
        rig.sparks().dx[static_cast<size_t>(i)] = 1.0f;
    }
    rig.player().ship_x = 1000.0f;  // far away: no contact, no repeller trigger by the ship
}

template <class A>
bool same(const A& a, const A& b, int32_t n) {
    return std::memcmp(a.data(), b.data(), sizeof(a[0]) * static_cast<size_t>(n)) == 0;
}

}  // namespace

TEST(FastPassEquivalence, AgreesBitForBitWithThePlainPass) {
    struct Run { uint32_t seed; int32_t cells; };
    for (const Run run : {Run{1u, 200}, Run{77u, 200}, Run{12345u, 5}, Run{9u, 5}}) {
        const uint32_t seed = run.seed;
        WorldRig fast, plain;
        crowd(fast, seed, run.cells);
        crowd(plain, seed, run.cells);
        Plain ref{*plain.game, plain.sys->rng, plain.sparks()};
        int32_t merges = 0, divisions = 0, cells_before = run.cells;
        for (int frame = 0; frame < 140; ++frame) {
            const int32_t before = fast.foes().count;
            fast.pass();
            ref.frame();
            const FoePool& a = fast.foes();
            const FoePool& b = plain.foes();
            ASSERT_EQ(a.count, b.count) << "seed " << seed << " frame " << frame;
            const int32_t n = a.count;
            ASSERT_TRUE(same(a.x, b.x, n) && same(a.y, b.y, n) && same(a.dx, b.dx, n) && same(a.dy, b.dy, n))
                << "seed " << seed << " frame " << frame;
            ASSERT_TRUE(same(a.spin, b.spin, n) && same(a.gen, b.gen, n) && same(a.kind, b.kind, n));
            ASSERT_TRUE(a.dead.bytes == b.dead.bytes && a.flamed.bytes == b.flamed.bytes);
            ASSERT_EQ(fast.game->hits.count, plain.game->hits.count);
            ASSERT_TRUE(same(fast.game->hits.foe, plain.game->hits.foe, fast.game->hits.count));
            ASSERT_TRUE(same(fast.game->hits.shot, plain.game->hits.shot, fast.game->hits.count));
            ASSERT_TRUE(same(fast.shots().dx, plain.shots().dx, fast.shots().count));
            ASSERT_TRUE(same(fast.sparks().dx, plain.sparks().dx, 500));
            ASSERT_EQ(fast.game->boni.count, plain.game->boni.count);
            ASSERT_EQ(fast.game->debris.count, plain.game->debris.count);
            merges += before > n ? before - n : 0;
            int32_t cells_now = 0;
            for (int32_t i = 0; i < n; ++i) cells_now += a.kind[static_cast<size_t>(i)] == CELL;
            divisions += cells_now > cells_before ? cells_now - cells_before : 0;
            cells_before = cells_now;
        }
        EXPECT_GT(merges, 20) << seed;  // the runs really exercise merging and division
        if (run.cells < 10) {
            EXPECT_GT(divisions, 0) << seed;
        }
    }
}
