// The world until its issue lands: the frame's world steps over pools that stay empty.
#include "world/world.h"

namespace qvar {

void prepare_foe_pass(Game& game) {
    for (int32_t i = game.foes.count; i < FOE_CAPACITY; ++i) {
        game.foes.flamed.set(i, 0);
        game.foes.plasma.set(i, 0);
        game.foes.whitehot.set(i, 0);
    }
    for (int32_t i = 0; i < game.foes.count; ++i) game.foes.dead.set(i, 0);
    for (int32_t i = 0; i < game.shots.count; ++i) game.shots.spent.set(i, 0);
    game.hits.count = 0;
}

void foe_step(System&, Game&) {}
void apply_hit_pairs(Game&) {}
void destroy_step(System&, Game&) {}
void debris_step(System&, Game&) {}

}  // namespace qvar
