// Cells: a countdown to division that crowding neighbours hold back, and a shell that turns the
// first shot aside while the countdown stands at 0.
#include "world/world_internal.h"

namespace qvar::world {

namespace {

// The cell splits in two that fly apart. With the foe pool full the new cell cannot be made:
// the parent only starts its countdown again.
void divide(PassState& ps, int32_t i) {
    FoePool& f = ps.game.foes;
    const auto k = static_cast<size_t>(i);
    const float u = random_real(ps.sys.rng, 1.0f) - 0.5f;
    const float w = random_real(ps.sys.rng, 1.0f) - 0.5f;
    const int32_t child = append_foe_in_pass(ps, CELL, 0, f.x[k], f.y[k], f.dx[k] + u, f.dy[k] + w);
    if (child >= 0) {
        f.flamed.set(child, f.flamed.get(i));
        f.plasma.set(child, f.plasma.get(i));
        f.whitehot.set(child, f.whitehot.get(i));
        f.dx[k] -= u;
        f.dy[k] -= w;
        ps.game.tally.divisions += 1;
    }
    f.gen[k] = 0;
}

}  // namespace

void step_cell(PassState& ps, int32_t i) {
    FoePool& f = ps.game.foes;
    const auto k = static_cast<size_t>(i);
    ps.cells.sync(f, ps.game.sprites, i);  // it has just moved
    contact_round(ps, 6.0f);
    f.gen[k] -= 1;
    if (f.gen[k] < 0 && lanes::crowded(ps.cells, i, f.x[k], f.y[k])) f.gen[k] = 0;
    if (f.gen[k] < -100) divide(ps, i);
    if (f.dx[k] * f.dx[k] + f.dy[k] * f.dy[k] > 0.01f) {
        f.dx[k] *= 0.99f;
        f.dy[k] *= 0.99f;
    }
    const int32_t g = f.gen[k];
    const bool odd = (g % 2) != 0;
    const float x = f.x[k], y = f.y[k];
    draw_sprite_at(ps.sys.frame, x, y, 6.0f, 6.0f, ps.game.sprites.cell[odd ? 1 : 0]);
    // At gen 0 a shot does not hurt the cell: it knocks it away and makes it vulnerable, so
    // a second shot in the same test already hits.
    HitPairs& hits = ps.game.hits;
    const ShotPool& shots = ps.game.shots;
    scan_round(ps.shots, x, y, 49.0f, [&](int32_t j) {
            if (f.gen[k] != 0) {
                add_hit_pair(hits, i, j);
                return;
            }
            f.gen[k] = 50;
            f.dx[k] += shots.dx[static_cast<size_t>(j)] / 5.0f;
            f.dy[k] += shots.dy[static_cast<size_t>(j)] / 5.0f;
            add_hit_pair(hits, -1, j);
    });
}

}  // namespace qvar::world
