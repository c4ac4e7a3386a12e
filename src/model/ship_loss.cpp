// The ship's explosion.
#include "model/ship_loss.h"

#include "util/pool.h"

namespace qvar {

void destroy_ship(System& sys, Game& game) {
    Player& p = game.player;
    SparkPool& s = sys.sparks;
    SlotRange r = pool_append(s, 1000);
    for (int32_t k = r.first; k < r.end; ++k) {
        float dx = 0.0f, dy = 0.0f;
        do {
            dx = random_real(sys.rng, 10.0f) - 5.0f;
            dy = random_real(sys.rng, 10.0f) - 5.0f;
        } while (!(dx * dx + dy * dy >= 1.0f && dx * dx + dy * dy <= 25.0f));
        s.x[k] = p.ship_x;
        s.y[k] = p.ship_y;
        s.dx[k] = dx;
        s.dy[k] = dy;
        s.colour[k] = static_cast<uint8_t>(32 + random_int(sys.rng, 24));
    }
    p.death_timer = 1;
}

}  // namespace qvar
