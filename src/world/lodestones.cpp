// Lodestones: every pair whose masses add up to less than 20 attracts by an inverse-square
// pull, and a touching pair merges into one at their centre of mass.
#include "world/world_internal.h"

#include <cstring>

#if defined(__SSE__)
#include <xmmintrin.h>
#endif

namespace qvar::world {

namespace {

// Lane-wise square root, correctly rounded as std::sqrt is.
simd::v4f sqrt(simd::v4f v) {
#if defined(__SSE__)
    return reinterpret_cast<simd::v4f>(_mm_sqrt_ps(reinterpret_cast<__m128>(v)));
#else
    return simd::v4f{std::sqrt(v[0]), std::sqrt(v[1]), std::sqrt(v[2]), std::sqrt(v[3])};
#endif
}

// Boni caught between two merging lodestones are swallowed. The test compares the squared
// distance with the plain sum of the sizes, as the game always has.
void swallow_boni(BonusPool& b, float x, float y, float limit) {
    for (int32_t c = 0; c < b.count; ++c) {
        const auto k = static_cast<size_t>(c);
        // The bonus moved into slot c is not looked at again in this scan.
        if (square(b.x[k] - x) + square(b.y[k] - y) < limit) pool_remove(b, c);
    }
}

// Foe j merges into lodestone `self`; returns the slot `self` ends in (it moves into j when it
// was itself the last foe of the pool).
int32_t merge(PassState& ps, int32_t self, int32_t j) {
    FoePool& f = ps.game.foes;
    const auto s = static_cast<size_t>(self);
    const auto o = static_cast<size_t>(j);
    const int32_t gi = f.gen[s], gj = f.gen[o];
    const float mi = static_cast<float>(gi), mj = static_cast<float>(gj);
    const float total = static_cast<float>(gi + gj);
    if (total != 0.0f) {
        f.x[s] = (mi * f.x[s] + mj * f.x[o]) / total;
        f.y[s] = (mi * f.y[s] + mj * f.y[o]) / total;
    }
    const GameSprites& sp = ps.game.sprites;
    swallow_boni(ps.game.boni, f.x[s], f.y[s], static_cast<float>(rock_size(sp, gi) + rock_size(sp, gj)));
    if (total != 0.0f) {
        f.dx[s] = (mi * f.dx[s] + mj * f.dx[o]) / total;
        f.dy[s] = (mi * f.dy[s] + mj * f.dy[o]) / total;
    }
    f.gen[s] = gi + gj;
    ps.game.tally.merges += 1;
    f.flamed.set(self, f.flamed.get(self) | f.flamed.get(j));
    f.plasma.set(self, f.plasma.get(self) | f.plasma.get(j));
    f.whitehot.set(self, f.whitehot.get(self) | f.whitehot.get(j));
    // The last foe moves into slot j; the dead mark stays with the slot, as the game has it.
    const int32_t last = remove_foe_in_pass(ps, j);
    if (last != self) return self;
    // The absorbing lodestone itself moved into slot j: its step goes on there, and its own
    // mark goes with it so that nothing beyond the live foes stays marked.
    f.dead.set(j, f.dead.get(last));
    f.dead.set(last, 0);
    return j;
}

// One group of four listed lodestones against `self`: which of them pair with it, which touch
// it, and the pulls (mj ex / e / q on self, mi ex / e / q on the other), computed four at a time.
// Lanes that do not pair (self, heavy pairs, spare lanes) are computed too and never used.
struct Group {
    uint32_t pairs = 0, touching = 0;
    simd::v4f pix, piy, pjx, pjy;
};

Group group_of_four(const KindList& l, int32_t e, int32_t self, float xi, float yi, int32_t gi, float size_i) {
    using namespace simd;
    const auto k = static_cast<size_t>(e);
    const v4f ex = load(&l.x[k]) - splat(xi), ey = load(&l.y[k]) - splat(yi);
    const v4f q = ex * ex + ey * ey;
    const v4f touch = splat(0.5f) * (splat(size_i) + load(&l.size[k]));
    v4i slot, gen;
    std::memcpy(&slot, &l.slot[k], sizeof slot);
    std::memcpy(&gen, &l.gen[k], sizeof gen);
    // Pairs whose masses add up to 20 or more neither pull nor merge.
    const v4i pairs = (slot != self) & (gen + gi < 20);
    Group g;
    g.pairs = bits(pairs);
    g.touching = bits(pairs & (q < touch * touch));
    const v4f d = sqrt(q), mj = load(&l.mass[k]), mi = splat(static_cast<float>(gi));
    g.pix = mj * ex / d / q;
    g.piy = mj * ey / d / q;
    g.pjx = mi * ex / d / q;
    g.pjy = mi * ey / d / q;
    return g;
}

// Every other lodestone (in slot order) pulls `self` and is pulled by it, or merges into it
// when they touch. Returns the slot `self` ends in.
int32_t attract_and_merge(PassState& ps, int32_t self) {
    FoePool& f = ps.game.foes;
    const KindList& l = ps.lodestones;
    int32_t e = 0;
    while (e < l.n) {
        const auto s = static_cast<size_t>(self);
        const float xi = f.x[s], yi = f.y[s];
        const int32_t gi = f.gen[s];
        const float size_i = static_cast<float>(rock_size(ps.game.sprites, gi));
        float dxi = f.dx[s], dyi = f.dy[s];
        int32_t merged = -1;
        for (; e < l.n && merged < 0; e += 4) {
            const Group g = group_of_four(l, e, self, xi, yi, gi, size_i);
            const int32_t stop = g.touching != 0 ? __builtin_ctz(g.touching) : 4;
            for (int32_t lane = 0; lane < stop; ++lane) {
                if ((g.pairs >> lane & 1u) == 0) continue;
                dxi += g.pix[lane];  // one pair after another, in slot order
                dyi += g.piy[lane];
                const auto o = static_cast<size_t>(l.slot[static_cast<size_t>(e + lane)]);
                f.dx[o] -= g.pjx[lane];
                f.dy[o] -= g.pjy[lane];
            }
            if (stop < 4) merged = l.slot[static_cast<size_t>(e + stop)];
        }
        f.dx[s] = dxi;
        f.dy[s] = dyi;
        if (merged < 0) break;
        self = merge(ps, self, merged);
        ps.lodestones.sync(f, ps.game.sprites, self);
        // The scan goes on after the merged slot: the foe moved into it is not looked at.
        e = 0;
        while (e < l.n && l.slot[static_cast<size_t>(e)] <= merged) ++e;
    }
    return self;
}

}  // namespace

int32_t step_lodestone(PassState& ps, int32_t i) {
    FoePool& f = ps.game.foes;
    const GameSprites& sp = ps.game.sprites;
    ps.lodestones.sync(f, sp, i);  // it has just moved
    {
        const auto k = static_cast<size_t>(i);
        const float r = static_cast<float>(rock_size(sp, f.gen[k]) - 1) * 0.5f;
        contact_round(ps, r);
        draw_sprite_at(ps.sys.frame, f.x[k], f.y[k], r, r, rock_sprite(sp, f.gen[k]));
        draw_sprite_at(ps.sys.frame, f.x[k], f.y[k], 2.0f, 2.0f, sp.core);
    }
    const int32_t self = attract_and_merge(ps, i);
    const auto k = static_cast<size_t>(self);
    if (f.dx[k] * f.dx[k] + f.dy[k] * f.dy[k] > 1.0f) {
        f.dx[k] *= 0.99f;
        f.dy[k] *= 0.99f;
    }
    const int32_t h = rock_size(sp, f.gen[k]) / 2;
    shot_test_round(ps, self, f.x[k], f.y[k], static_cast<float>(h * h));
    return self;
}

}  // namespace qvar::world
