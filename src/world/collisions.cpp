// Shot tests that record hit pairs, and the step that turns the pairs into marks after the pass.
#include "world/world.h"
#include "world/world_internal.h"

namespace qvar {

namespace world {

void shot_test_round(PassState& ps, int32_t i, float x, float y, float r2) {
    HitPairs& hits = ps.game.hits;
    scan_round(ps.shots, x, y, r2, [&hits, i](int32_t j) { add_hit_pair(hits, i, j); });
}

void shot_test_box(PassState& ps, int32_t i, float x, float y, float ax_max, float ay_max) {
    HitPairs& hits = ps.game.hits;
    scan_box<false>(ps.shots, x, y, ax_max, ay_max, [&hits, i](int32_t j) { add_hit_pair(hits, i, j); });
}

}  // namespace world

void apply_hit_pairs(Game& game) {
    const HitPairs& h = game.hits;
    const int32_t n = h.count < HitPairs::capacity ? h.count : HitPairs::capacity;
    for (int32_t p = 0; p < n; ++p) {
        const int32_t foe = h.foe[static_cast<size_t>(p)];
        const int32_t shot = h.shot[static_cast<size_t>(p)];
        if (foe != -1) game.foes.dead.set(foe, 1);
        game.shots.spent.set(shot, 1);
        // A plasma ball never kills outright: it sets the foe burning and lifts any mark this
        // frame gave it so far; a later pair may mark it again.
        const bool plasma_shot = shot >= 0 && shot < SHOT_CAPACITY && game.shots.kind[static_cast<size_t>(shot)] == 3;
        if (plasma_shot && foe != -1) {
            game.foes.plasma.set(foe, 1);
            game.foes.dead.set(foe, 0);
        }
    }
}

}  // namespace qvar
