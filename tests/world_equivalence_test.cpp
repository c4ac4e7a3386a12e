// The fast foe pass, four and (with AVX2) eight lanes wide, against a plain one written from the
// rules one pair at a time: a crowd of field foes with shots, boni and sparks must agree bitwise.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <vector>

#include "util/float_math.h"
#include "util/numeric.h"
#include "util/pool.h"
#include "world/lanes.h"
#include "world_support.h"

using namespace qvar;
using qvar::test::WorldRig;

namespace {

struct Plain {
    WorldRig& rig;
    Game& g = *rig.game;

    float size(int32_t gen) const { return static_cast<float>(g.sprites.rock_sizes[gen]); }
    bool shot_near(int32_t j, float x, float y, float r2) const {
        return square(g.shots.x[j] - x) + square(g.shots.y[j] - y) < r2;
    }
    void pair(int32_t foe, int32_t shot) {  // a full list lets the newest replace its last entry
        const int32_t at = std::min(g.hits.count, 499);
        g.hits.foe[at] = foe, g.hits.shot[at] = shot, g.hits.count = at + 1;
    }

    void cell(int32_t i) {
        FoePool& f = g.foes;
        if (--f.gen[i] < 0) {
            float crowding = 0.0f;
            for (int32_t j = 0; j < f.count; ++j) {
                float ax = std::fabs(f.x[i] - f.x[j]), ay = std::fabs(f.y[i] - f.y[j]);
                ax = ax > 160.0f ? 320.0f - ax : ax, ay = ay > 100.0f ? 200.0f - ay : ay;
                if (j != i && f.kind[j] == CELL) crowding += 1000000.0f / (ax * ax + ay * ay + 1.0f);
            }
            if (crowding > 1000.0f) f.gen[i] = 0;
        }
        if (f.gen[i] < -100) {
            const float u = random_real(rig.sys->rng, 1.0f) - 0.5f, w = random_real(rig.sys->rng, 1.0f) - 0.5f;
            if (f.count < FOE_CAPACITY) {
                const int32_t c = rig.add_foe(CELL, 0, f.x[i], f.y[i], f.dx[i] + u, f.dy[i] + w);
                f.flamed.set(c, f.flamed.get(i)), f.plasma.set(c, f.plasma.get(i));
                f.whitehot.set(c, f.whitehot.get(i)), f.dead.set(c, 0), f.dx[i] -= u, f.dy[i] -= w;
            }
            f.gen[i] = 0;
        }
        if (f.dx[i] * f.dx[i] + f.dy[i] * f.dy[i] > 0.01f) f.dx[i] *= 0.99f, f.dy[i] *= 0.99f;
        for (int32_t j = 0; j < g.shots.count; ++j) {
            if (!shot_near(j, f.x[i], f.y[i], 49.0f)) continue;
            if (f.gen[i] != 0) pair(i, j);  // the shell at 0 turns the shot aside
            else f.gen[i] = 50, f.dx[i] += g.shots.dx[j] / 5.0f, f.dy[i] += g.shots.dy[j] / 5.0f, pair(-1, j);
        }
    }
    void merge(int32_t& i, int32_t j) {
        FoePool& f = g.foes;
        const float mi = static_cast<float>(f.gen[i]), mj = static_cast<float>(f.gen[j]), t = mi + mj;
        f.x[i] = (mi * f.x[i] + mj * f.x[j]) / t;
        f.y[i] = (mi * f.y[i] + mj * f.y[j]) / t;
        const float reach = size(f.gen[i]) + size(f.gen[j]);
        for (int32_t c = 0; c < g.boni.count; ++c)
            if (square(g.boni.x[c] - f.x[i]) + square(g.boni.y[c] - f.y[i]) < reach) pool_remove(g.boni, c);
        f.dx[i] = (mi * f.dx[i] + mj * f.dx[j]) / t;
        f.dy[i] = (mi * f.dy[i] + mj * f.dy[j]) / t;
        f.gen[i] += f.gen[j];
        f.flamed.set(i, f.flamed.get(i) | f.flamed.get(j)), f.plasma.set(i, f.plasma.get(i) | f.plasma.get(j));
        f.whitehot.set(i, f.whitehot.get(i) | f.whitehot.get(j));
        const int32_t last = f.count - 1;
        pool_remove(f, j);
        if (last == i) f.dead.set(j, f.dead.get(last)), f.dead.set(last, 0), i = j;
    }

    void lodestone(int32_t i) {
        FoePool& f = g.foes;
        for (int32_t j = 0; j < f.count; ++j) {
            if (f.kind[j] != LODESTONE || j == i || f.gen[i] + f.gen[j] >= 20) continue;
            const float ex = f.x[j] - f.x[i], ey = f.y[j] - f.y[i], q = ex * ex + ey * ey;
            const float touch = 0.5f * (size(f.gen[i]) + size(f.gen[j]));
            if (q < touch * touch) {
                merge(i, j);
                continue;
            }
            const float e = std::sqrt(q), mi = static_cast<float>(f.gen[i]), mj = static_cast<float>(f.gen[j]);
            f.dx[i] += mj * ex / e / q, f.dy[i] += mj * ey / e / q;
            f.dx[j] -= mi * ex / e / q, f.dy[j] -= mi * ey / e / q;
        }
        if (f.dx[i] * f.dx[i] + f.dy[i] * f.dy[i] > 1.0f) f.dx[i] *= 0.99f, f.dy[i] *= 0.99f;
        const int32_t h = static_cast<int32_t>(size(f.gen[i])) / 2;
        for (int32_t j = 0; j < g.shots.count; ++j)
            if (shot_near(j, f.x[i], f.y[i], static_cast<float>(h * h))) pair(i, j);
    }

    void repeller(int32_t i) {
        FoePool& f = g.foes;
        const float x = f.x[i], y = f.y[i];
        auto within = [&](float px, float py) { return square(px - x) + square(py - y) < 2500.0f; };
        bool on = within(g.player.ship_x, g.player.ship_y);
        for (int32_t j = 0; j < g.shots.count; ++j) on = on || within(g.shots.x[j], g.shots.y[j]);
        auto turn = [&](auto& p, int32_t skip) {  // velocities, and a foe's spin, change sign
            for (int32_t j = 0; j < p.count; ++j) {
                if (j == skip || !within(p.x[j], p.y[j])) continue;
                p.dx[j] = -p.dx[j], p.dy[j] = -p.dy[j];
                if constexpr (requires { p.spin; }) p.spin[j] = -p.spin[j];
            }
        };
        if (on) turn(f, i), turn(g.shots, -1), turn(rig.sparks(), -1), turn(g.boni, -1);
        if (on) pool_append(g.debris, 80);  // the ring (its dots are checked elsewhere)
        for (int32_t j = 0; j < g.shots.count; ++j)
            if (std::fabs(g.shots.x[j] - x) <= 10.0f && std::fabs(g.shots.y[j] - y) <= 8.0f) pair(i, j);
    }

    void spinner(int32_t i) {
        FoePool& f = g.foes;
        Random& rng = rig.sys->rng;
        if (f.dx[i] * f.dx[i] + f.dy[i] * f.dy[i] > 1.0f) f.dx[i] *= 0.9f, f.dy[i] *= 0.9f;
        if (f.spin[i] > 0.05f) f.spin[i] *= 0.997f;
        SparkPool& sp = rig.sparks();
        for (int32_t n = 0; n < 5 && sp.count < SPARK_CAPACITY; ++n, ++sp.count) {  // the jet
            const float sx = random_real(rng, 1.0f) + 3.0f, ox = random_real(rng, 0.1f);
            const float sy = random_real(rng, 1.0f) + 3.0f, oy = random_real(rng, 0.1f);
            sp.x[sp.count] = f.x[i], sp.y[sp.count] = f.y[i];
            sp.dx[sp.count] = sx * sine(ox + f.angle[i]) + f.dx[i];
            sp.dy[sp.count] = sy * cosine(oy + f.angle[i]) + f.dy[i];
            sp.colour[sp.count] = random_int(rng, 2) == 0 ? 11 : 15;
        }
        auto pull = [&](float& vx, float& vy, float px, float py, float k, float floor) {
            const float ex = f.x[i] - px, ey = f.y[i] - py;
            float q = ex * ex + ey * ey;
            if (q < floor) q = floor;
            if (q != 0.0f) vx += k * ex / q, vy += k * ey / q;
        };
        for (int32_t j = 0; j < f.count; ++j)
            if (j != i) pull(f.dx[j], f.dy[j], f.x[j], f.y[j], 0.3f, 100.0f);
        for (int32_t j = 0; j < g.shots.count; ++j) pull(g.shots.dx[j], g.shots.dy[j], g.shots.x[j], g.shots.y[j], 3.0f, 0.0f);
        pull(g.player.ship_vx, g.player.ship_vy, g.player.ship_x, g.player.ship_y, 0.3f, 100.0f);
        for (int32_t j = 0; j < g.shots.count; ++j)
            if (shot_near(j, f.x[i], f.y[i], 36.0f)) f.spin[i] += 0.1f, pair(f.spin[i] > 0.8f ? i : -1, j);
    }

    void frame() {
        prepare_foe_pass(g);
        FoePool& f = g.foes;
        for (int32_t i = 0; i < f.count; ++i) {
            f.x[i] += f.dx[i], f.y[i] += f.dy[i], f.angle[i] += f.spin[i];
            if (f.x[i] < 0.0f) f.x[i] += 320.0f;
            if (f.x[i] > 320.0f) f.x[i] -= 320.0f;
            if (f.y[i] < 0.0f) f.y[i] += 200.0f;
            if (f.y[i] > 200.0f) f.y[i] -= 200.0f;
            if (g.hits.count >= 500) g.hits.count = 499;  // a full list between foes
            if (f.kind[i] == CELL) cell(i);
            else if (f.kind[i] == LODESTONE) lodestone(i);
            else if (f.kind[i] == REPELLER) repeller(i);
            else if (f.kind[i] == SPINNER) spinner(i);
        }
    }
};

void crowd(WorldRig& rig, uint32_t seed, int32_t cells) {
    Random r;
    r.lcg = seed;
    auto place = [&](int32_t kind, int32_t gen) {
        const int32_t i = rig.add_foe(kind, gen, random_real(r, 320.0f), random_real(r, 200.0f),
                                      random_real(r, 1.6f) - 0.8f, random_real(r, 1.6f) - 0.8f);
        rig.foes().spin[i] = random_real(r, 0.1f) - 0.05f;
    };
    for (int i = 0; i < 260; ++i) place(LODESTONE, 1 + random_int(r, 12));
    for (int i = 0; i < cells; ++i) place(CELL, -random_int(r, 100));
    for (int i = 0; i < 6; ++i) place(REPELLER, 0);
    for (int i = 0; i < 5; ++i) place(SPINNER, 0);
    for (int i = 0; i < 300; ++i) rig.add_shot(random_real(r, 320.0f), random_real(r, 200.0f), 1.0f, -0.5f);
    for (int i = 0; i < 80; ++i)
        rig.add_bonus(1 + i % 13, random_real(r, 320.0f), random_real(r, 200.0f), random_real(r, 2.0f) - 1.0f, 0.5f);
    SparkPool& sp = rig.sparks();
    for (sp.count = 0; sp.count < 500; ++sp.count)
        sp.x[sp.count] = random_real(r, 320.0f), sp.y[sp.count] = random_real(r, 200.0f), sp.dx[sp.count] = 1.0f;
    rig.ship_at(1000.0f, 100.0f);  // far away: no contact, no repeller trigger by the ship
}

// Two pools of one kind agree bitwise: their counts, every column over the live entries and
// every bitset whole.
template <class Pool>
bool same_pool(Pool& a, Pool& b) {
    std::vector<std::pair<const void*, size_t>> columns;
    auto bytes = [&](const auto& c) -> std::pair<const void*, size_t> {
        if constexpr (requires { c.bytes; }) return {c.bytes.data(), c.bytes.size()};
        else return {c.data(), sizeof(c[0]) * static_cast<size_t>(a.count)};
    };
    a.for_each_column([&](const auto& c) { columns.push_back(bytes(c)); });
    bool ok = a.count == b.count;
    size_t k = 0;
    b.for_each_column([&](const auto& c) { ok = ok && std::memcmp(columns[k++].first, bytes(c).first, bytes(c).second) == 0; });
    return ok;
}

}  // namespace

TEST(FastPassEquivalence, AgreesBitForBitWithThePlainPass) {
    for (const int32_t lanes : {4, 8}) {
        if (lanes > world::lanes::widest()) continue;  // no AVX2 here: only four lanes to try
        world::lanes::use_width(lanes);
        for (const auto& [seed, cells] : {std::pair{1u, 200}, {77u, 200}, {12345u, 5}, {9u, 5}}) {
            WorldRig fast, plain;
            crowd(fast, seed, cells);
            crowd(plain, seed, cells);
            Plain ref{plain};
            const FoePool &a = fast.foes(), &b = plain.foes();
            const HitPairs &ha = fast.hits(), &hb = plain.hits();
            for (int frame = 0; frame < 140; ++frame) {
                SCOPED_TRACE(testing::Message() << lanes << " lanes, seed " << seed << " frame " << frame);
                fast.pass();
                ref.frame();
                ASSERT_TRUE(same_pool(fast.foes(), plain.foes()) && a.dead.bytes == b.dead.bytes);
                ASSERT_TRUE(ha.count == hb.count && std::equal(ha.foe.begin(), ha.foe.begin() + ha.count, hb.foe.begin()) &&
                            std::equal(ha.shot.begin(), ha.shot.begin() + ha.count, hb.shot.begin()));
                ASSERT_TRUE(same_pool(fast.shots(), plain.shots()));
                ASSERT_TRUE(same_pool(fast.sparks(), plain.sparks()));
                ASSERT_TRUE(same_pool(fast.game->boni, plain.game->boni));
                ASSERT_EQ(fast.game->debris.count, plain.game->debris.count);
                const Player &pa = fast.player(), &pb = plain.player();
                ASSERT_EQ(std::bit_cast<uint64_t>(std::array{pa.ship_vx, pa.ship_vy}), std::bit_cast<uint64_t>(std::array{pb.ship_vx, pb.ship_vy}));
            }
            // The runs really exercise merging and, with few cells, division.
            EXPECT_GT(fast.game->tally.merges, 20u) << seed;
            EXPECT_TRUE(cells > 10 || fast.game->tally.divisions > 0) << seed;
        }
    }
    world::lanes::use_width(world::lanes::widest());
}
