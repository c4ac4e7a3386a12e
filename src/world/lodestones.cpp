// Lodestones: every pair whose masses add up to less than 20 attracts by an inverse-square
// pull, and a touching pair merges into one at their centre of mass.
#include "world/world_internal.h"

namespace qvar::world {

namespace {

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

// Every other lodestone (in slot order) pulls `self` and is pulled by it, or merges into it
// when they touch. Returns the slot `self` ends in.
int32_t attract_and_merge(PassState& ps, int32_t self) {
    FoePool& f = ps.game.foes;
    const KindList& l = ps.lodestones;
    int32_t e = 0;
    while (e < l.n) {
        const auto s = static_cast<size_t>(self);
        const int32_t gi = f.gen[s];
        lanes::Puller p{self, gi, f.x[s], f.y[s], static_cast<float>(rock_size(ps.game.sprites, gi)), f.dx[s], f.dy[s]};
        const int32_t merged = lanes::pull_lodestones(l, e, p, f);
        f.dx[s] = p.dx;
        f.dy[s] = p.dy;
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
