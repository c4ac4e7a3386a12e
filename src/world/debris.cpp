// Debris: glowing dots that jitter, die off the field or by chance, and are drawn as plus signs.
#include "world/world.h"
#include "world/world_internal.h"

namespace qvar {

void debris_step(System& sys, Game& game) {
    DebrisPool& d = game.debris;
    Random& rng = sys.rng;
    for (int32_t i = 0; i < d.count; ++i) {
        const auto k = static_cast<size_t>(i);
        d.x[k] = add_wrap(d.x[k], random_int(rng, 5) - 2);
        d.y[k] = add_wrap(d.y[k], random_int(rng, 5) - 2);
        // The far edges are inclusive: a dot at x = 320 or y = 200 stays (and is clipped).
        const bool off = d.x[k] < 0 || d.y[k] < 0 || d.x[k] > 320 || d.y[k] > 200;
        if (off || random_int(rng, 10) == 0) pool_remove(d, i);
        // The dot now in slot i is drawn: after a removal the one moved in from the end, where
        // it stood; when the removed dot was the last, its own values once more.
        plot_plus(sys.frame, d.x[k], d.y[k], d.colour[k]);
    }
}

}  // namespace qvar
