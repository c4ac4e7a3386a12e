// The frame's preparation and the foe pass: the common steps of every foe and the dispatch
// to its kind; foes born or removed during the pass are seen by it at once.
#include "model/ship_loss.h"
#include "world/world.h"
#include "world/world_internal.h"

namespace qvar {

using namespace world;

void prepare_foe_pass(Game& game) {
    FoePool& f = game.foes;
    for (int32_t i = f.count; i < FOE_CAPACITY; ++i) {
        f.flamed.set(i, 0);
        f.plasma.set(i, 0);
        f.whitehot.set(i, 0);
    }
    for (int32_t i = 0; i < f.count; ++i) f.dead.set(i, 0);
    for (int32_t i = 0; i < game.shots.count; ++i) game.shots.spent.set(i, 0);
    game.hits.count = 0;
}

namespace world {

int32_t append_foe_in_pass(PassState& ps, int32_t kind, int32_t gen, float x, float y, float dx, float dy) {
    FoePool& f = ps.game.foes;
    SlotRange r = pool_append(f, 1);
    if (r.size() == 0) return -1;
    const auto k = static_cast<size_t>(r.first);
    f.x[k] = x;
    f.y[k] = y;
    f.dx[k] = dx;
    f.dy[k] = dy;
    f.angle[k] = 0.0f;
    f.spin[k] = 0.0f;
    f.kind[k] = kind;
    f.gen[k] = gen;
    // A slot vacated by a merge earlier in this pass may still carry marks; a newborn foe
    // starts clean.
    f.flamed.set(r.first, 0);
    f.plasma.set(r.first, 0);
    f.whitehot.set(r.first, 0);
    f.dead.set(r.first, 0);
    if (kind >= 1 && kind <= FOE_KIND_COUNT) ps.game.tally.born[static_cast<size_t>(kind)] += 1;
    ps.cells.appended(f, ps.game.sprites, r.first);
    ps.lodestones.appended(f, ps.game.sprites, r.first);
    return r.first;
}

int32_t remove_foe_in_pass(PassState& ps, int32_t j) {
    FoePool& f = ps.game.foes;
    const int32_t last = f.count - 1;
    pool_remove(f, j);  // the dead bit is not a moving column: it stays with slot j
    ps.cells.removed(f, ps.game.sprites, j, last);
    ps.lodestones.removed(f, ps.game.sprites, j, last);
    return last;
}

namespace {

void wrap_foe(float& x, float& y) {
    if (x < 0.0f) x += 320.0f;
    if (x > 320.0f) x -= 320.0f;  // strict: a foe at exactly 320 stays there
    if (y < 0.0f) y += 200.0f;
    if (y > 200.0f) y -= 200.0f;
    x = rewrap(x, 320.0f);
    y = rewrap(y, 200.0f);
}

void run_kind(PassState& ps, int32_t i) {
    switch (ps.game.foes.kind[static_cast<size_t>(i)]) {
        case ROCK: step_rock(ps, i); break;
        case WHEEL: step_wheel(ps, i); break;
        case DART: step_dart(ps, i); break;
        case SAUCER: step_saucer(ps, i); break;
        case PELLET: step_pellet(ps, i); break;
        case TRIANGLE: step_triangle(ps, i); break;
        case WEB: step_web(ps, i); break;
        case ORBITER: step_orbiter(ps, i); break;
        case REPELLER: step_repeller(ps, i); break;
        case BLOCK: step_block(ps, i); break;
        case CELL: step_cell(ps, i); break;
        case LODESTONE: step_lodestone(ps, i); break;
        case SPINNER: step_spinner(ps, i); break;
        default: break;  // no such kind is ever made; it just drifts
    }
}

void step_one_foe(PassState& ps, int32_t i) {
    FoePool& f = ps.game.foes;
    Player& p = ps.game.player;
    const auto k = static_cast<size_t>(i);
    ps.ship_contact = false;
    f.x[k] += f.dx[k];
    f.y[k] += f.dy[k];
    f.angle[k] += f.spin[k];
    wrap_foe(f.x[k], f.y[k]);
    ps.ship_distance2 = square(p.ship_x - f.x[k]) + square(p.ship_y - f.y[k]);
    shed_burning_debris(ps, i);
    if (ps.game.hits.count >= HitPairs::capacity) ps.game.hits.count = HitPairs::capacity - 1;
    run_kind(ps, i);
    // The foe that touched the ship is not harmed; a destroyed ship cannot be hit again.
    if (ps.ship_contact && p.invincible == 0 && p.death_timer == 0) destroy_ship(ps.sys, ps.game);
}

}  // namespace
}  // namespace world

void foe_step(System& sys, Game& game) {
    // About 60 KB of lists: held by the pass for its duration, never allocated.
    PassState ps{sys, game, {}, {}, {}, false, 0.0f};
    ps.cells.build(game.foes, game.sprites, CELL);
    ps.shots.build(game.shots);
    ps.lodestones.build(game.foes, game.sprites, LODESTONE);
    // The count is read afresh at every step: foes born in the pass are visited in it, and a
    // lodestone merge may shrink the pool.
    for (int32_t i = 0; i < game.foes.count; ++i) world::step_one_foe(ps, i);
}

}  // namespace qvar
