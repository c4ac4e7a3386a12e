// The weapon effects that cling to a foe (flame, plasma, white heat): each sheds debris every
// frame and may kill the foe or go out at random.
#include "model/effects.h"
#include "util/float_math.h"
#include "world/world_internal.h"

namespace qvar::world {

namespace {

enum class Effect { flame, plasma, whitehot };

uint8_t effect_colour(Random& rng, Effect e) {
    switch (e) {
        case Effect::flame: return flame_colour(rng);
        case Effect::plasma: return plasma_colour(rng);
        case Effect::whitehot: break;
    }
    return 15;
}

// The dots a burning foe sheds per effect: k, except that small blocks shed fewer and rocks
// and lodestones shed more the larger they are, round their rim.
int32_t dots_for(int32_t kind, int32_t gen, int32_t k) {
    int64_t n = k;
    if (kind == BLOCK && gen < 2) n = 1 + 2 * static_cast<int64_t>(gen);
    if (kind == ROCK || kind == LODESTONE) n = 2 + 2 * static_cast<int64_t>(gen);
    if (n > DEBRIS_CAPACITY) n = DEBRIS_CAPACITY;
    return static_cast<int32_t>(n);
}

void shed(PassState& ps, int32_t i, Effect e, int32_t k) {
    const FoePool& f = ps.game.foes;
    const auto fi = static_cast<size_t>(i);
    const int32_t kind = f.kind[fi];
    const int32_t gen = f.gen[fi];
    const float x = f.x[fi];
    const float y = f.y[fi];
    DebrisPool& d = ps.game.debris;
    Random& rng = ps.sys.rng;
    const SlotRange r = pool_append(d, dots_for(kind, gen, k));
    const bool on_rim = kind == ROCK || kind == LODESTONE;
    const float radius = static_cast<float>(rock_size(ps.game.sprites, gen) - 1) * 0.5f;
    for (int32_t s = r.first; s < r.end; ++s) {
        const auto ds = static_cast<size_t>(s);
        if (on_rim) {
            const float a = random_real(rng, TWO_PI);
            const int32_t rx = trunc_i32(x + sine(a) * radius);
            const int32_t ry = trunc_i32(y + cosine(a) * radius);
            d.x[ds] = mod_floor(add_wrap(rx, 320), 320);
            d.y[ds] = mod_floor(add_wrap(ry, 200), 200);
        } else {
            d.x[ds] = trunc_i32(x);
            d.y[ds] = trunc_i32(y);
        }
        d.colour[ds] = effect_colour(rng, e);
    }
}

}  // namespace

void shed_burning_debris(PassState& ps, int32_t i) {
    FoePool& f = ps.game.foes;
    Random& rng = ps.sys.rng;
    if (f.flamed.get(i)) {
        if (random_int(rng, 150) == 0) f.dead.set(i, 1);
        if (random_int(rng, 300) == 0) f.flamed.set(i, 0);
        shed(ps, i, Effect::flame, 5);
    }
    if (f.plasma.get(i)) {
        if (random_int(rng, 150) == 0) f.dead.set(i, 1);  // plasma never goes out
        shed(ps, i, Effect::plasma, 5);
    }
    if (f.whitehot.get(i)) {
        if (random_int(rng, 300) == 0) f.whitehot.set(i, 0);
        if (random_int(rng, 15) == 0) f.dead.set(i, 1);
        shed(ps, i, Effect::whitehot, 4);
    }
}

}  // namespace qvar::world
