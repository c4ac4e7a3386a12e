// Shots in flight and the marks their weapons leave on foes, debris and sparks.
#include "player/shots.h"

#include <cmath>

#include "model/effects.h"
#include "player/sparks.h"
#include "gfx/draw.h"
#include "util/numeric.h"
#include "util/pool.h"

namespace qvar {

float wrap_shot_coord(float v, float size) {
    if (v < 0.0f) v += size;
    if (v > size) v -= size;
    return v;
}

namespace {

// Sets bit j of `marks` for every live foe closer than sqrt(reach2); plain differences,
// without wrap-round.
void mark_foes(FoePool& foes, BitSet<FOE_CAPACITY>& marks, float x, float y, float reach2) {
    for (int32_t j = 0; j < foes.count; ++j) {
        const auto k = static_cast<size_t>(j);
        if (square(x - foes.x[k]) + square(y - foes.y[k]) < reach2) marks.set(j, 1);
    }
}

template <class Colour>
void drop_debris(DebrisPool& debris, float x, float y, int32_t count, Colour colour) {
    const SlotRange r = pool_append(debris, count);
    const int32_t ix = trunc_i32(x);
    const int32_t iy = trunc_i32(y);
    for (int32_t k = r.first; k < r.end; ++k) {
        const auto i = static_cast<size_t>(k);
        debris.x[i] = ix;
        debris.y[i] = iy;
        debris.colour[i] = colour();
    }
}

int32_t flame_effect(System& sys, Game& game, float x, float y) {
    drop_debris(game.debris, x, y, 10, [&] { return flame_colour(sys.rng); });
    mark_foes(game.foes, game.foes.flamed, x, y, FLAME_REACH2);
    return 1 + random_int(sys.rng, 2);
}

int32_t plasma_effect(System& sys, Game& game, size_t i) {
    ShotPool& s = game.shots;
    s.dx[i] *= 0.98f;
    s.dy[i] *= 0.98f;
    for (int n = 0; n < 20; ++n) {
        int32_t a = 10, b = 10;
        while (a * a + b * b > 20) {  // inside a disc of radius 4.5
            a = random_int(sys.rng, 9) - 4;
            b = random_int(sys.rng, 9) - 4;
        }
        const uint8_t colour = plasma_colour(sys.rng);
        plot_plus(sys.frame, trunc_i32(s.x[i] + static_cast<float>(a)), trunc_i32(s.y[i] + static_cast<float>(b)), colour);
    }
    mark_foes(game.foes, game.foes.plasma, s.x[i], s.y[i], PLASMA_REACH2);
    // A ball does not age until it has slowed below one pixel per frame. A ball whose speed
    // is not finite ages too: it would never slow down and would live for ever.
    const float speed2 = s.dx[i] * s.dx[i] + s.dy[i] * s.dy[i];
    return (std::isfinite(speed2) && speed2 >= 1.0f) ? 0 : 2;
}

int32_t whitehot_effect(System& sys, Game& game, float x, float y) {
    drop_debris(game.debris, x, y, 10, [] { return uint8_t{15}; });
    SparkPool& sp = sys.sparks;
    const SlotRange r = pool_append(sp, 4);
    for (int32_t k = r.first; k < r.end; ++k) {
        const auto i = static_cast<size_t>(k);
        const float speed = random_real(sys.rng, 1.0f) + 1.0f;
        const float a = random_real(sys.rng, TWO_PI);
        place_spark(sp, k, x, y, speed, a);
        sp.colour[i] = static_cast<uint8_t>(24 + random_int(sys.rng, 8));
    }
    mark_foes(game.foes, game.foes.whitehot, x, y, WHITEHOT_REACH2);
    return 2;
}

// Applies shot i's kind and returns how much of its life it uses up this frame.
int32_t shot_effect(System& sys, Game& game, size_t i) {
    ShotPool& s = game.shots;
    const float x = s.x[i];
    const float y = s.y[i];
    switch (s.kind[i]) {
        case 2: return flame_effect(sys, game, x, y);  // draws nothing: the debris is its flame
        case 3: return plasma_effect(sys, game, i);
        case 4: return whitehot_effect(sys, game, x, y);
        case 5:
            blit_sprite_wrapped(sys.frame, trunc_i32(x - 1.0f), trunc_i32(y - 1.0f), game.sprites.bullet);
            return 1;
        default:
            blit_sprite_wrapped(sys.frame, trunc_i32(x - 1.0f), trunc_i32(y - 1.0f), game.sprites.shot);
            return 1;
    }
}

}  // namespace

void shot_step(System& sys, Game& game) {
    ShotPool& s = game.shots;
    for (int32_t n = 0; n < s.count; ++n) {
        const auto i = static_cast<size_t>(n);
        s.x[i] = wrap_shot_coord(s.x[i] + s.dx[i], static_cast<float>(SCREEN_WIDTH));
        s.y[i] = wrap_shot_coord(s.y[i] + s.dy[i], static_cast<float>(SCREEN_HEIGHT));
        const int32_t used = shot_effect(sys, game, i);
        s.life[i] = s.life[i] > INT32_MIN + used ? s.life[i] - used : INT32_MIN;
        if (s.life[i] <= 0 || s.spent.get(n) != 0) pool_remove(s, n);
    }
}

}  // namespace qvar
