// The destroy step: every foe marked dead this frame breaks up, scores, bursts into sparks,
// may leave a pick-up, and is removed from the pool.
#include "world/destroy_internal.h"
#include "world/world.h"

namespace qvar {

namespace world {

SlotRange append_fragments(Game& g, int32_t parent, int32_t k) {
    FoePool& f = g.foes;
    const SlotRange r = pool_append(f, k);  // a full pool takes fewer fragments, or none
    const int fl = f.flamed.get(parent), pl = f.plasma.get(parent), wh = f.whitehot.get(parent);
    for (int32_t s = r.first; s < r.end; ++s) {
        const auto q = static_cast<size_t>(s);
        f.x[q] = f.x[static_cast<size_t>(parent)];
        f.y[q] = f.y[static_cast<size_t>(parent)];
        f.dx[q] = 0.0f;
        f.dy[q] = 0.0f;
        f.angle[q] = 0.0f;
        f.spin[q] = 0.0f;
        f.kind[q] = f.kind[static_cast<size_t>(parent)];
        f.gen[q] = 0;
        // Burning foes break into burning pieces; no piece starts marked.
        f.flamed.set(s, fl);
        f.plasma.set(s, pl);
        f.whitehot.set(s, wh);
        f.dead.set(s, 0);
    }
    return r;
}

namespace {

void drop_pick_up(System& sys, Game& g, const Parent& p) {
    Random& rng = sys.rng;
    if (random_int(rng, 15) != 0 || g.boni.count >= BONUS_CAPACITY || p.kind == PELLET) return;
    float dx = 0.0f, dy = 0.0f;
    do {
        dx = random_real(rng, 2.0f) - 1.0f;
        dy = random_real(rng, 2.0f) - 1.0f;
    } while (dx * dx + dy * dy > 8.0f);
    const SlotRange r = pool_append(g.boni, 1);
    const auto b = static_cast<size_t>(r.first);
    g.boni.x[b] = p.x;  // an orbiter's pick-up lies at its anchor
    g.boni.y[b] = p.y;
    g.boni.dx[b] = dx;
    g.boni.dy[b] = dy;
    g.boni.kind[b] = random_int(rng, BONUS_KIND_COUNT) + 1;
}

void tally_destruction(Game& g, int32_t kind, int32_t count_before) {
    GameTally& t = g.tally;
    if (kind < 1 || kind > FOE_KIND_COUNT) return;
    t.destroyed[static_cast<size_t>(kind)] += 1;
    if (g.foes.count == count_before) return;
    t.split[static_cast<size_t>(kind)] += 1;
    for (int32_t s = count_before; s < g.foes.count; ++s) {
        const int32_t made = g.foes.kind[static_cast<size_t>(s)];
        if (made >= 1 && made <= FOE_KIND_COUNT) t.born[static_cast<size_t>(made)] += 1;
    }
}

// Removal by swap with the last foe, which brings its dead mark along; the vacated slot's mark
// is cleared. The foe moved in is not looked at again in this pass.
void remove_destroyed(FoePool& f, int32_t i) {
    const int32_t last = f.count - 1;
    pool_remove(f, i);
    f.dead.set(i, f.dead.get(last));
    f.dead.set(last, 0);
}

}  // namespace
}  // namespace world

void destroy_step(System& sys, Game& game) {
    using namespace world;
    FoePool& f = game.foes;
    for (int32_t i = 0; i < f.count; ++i) {
        if (!f.dead.get(i)) continue;
        const auto k = static_cast<size_t>(i);
        const Parent p{i, f.kind[k], f.gen[k], f.x[k], f.y[k], f.dx[k], f.dy[k], f.angle[k]};
        const int32_t before = f.count;
        break_up(sys, game, p);
        tally_destruction(game, p.kind, before);
        drop_pick_up(sys, game, p);
        remove_destroyed(f, i);
    }
}

}  // namespace qvar
