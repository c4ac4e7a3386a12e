// Pick-ups in play: drift and attraction toward the ship, collection with its flash, and the
// effect of each of the thirteen kinds.
#include "player/boni.h"
#include "player/sparks.h"

#include <cmath>

#include "gfx/draw.h"
#include "util/numeric.h"
#include "util/pool.h"

namespace qvar {

namespace {


// Counters with no cap of their own still never wrap round.
void increase(int32_t& v, int32_t by) {
    v = static_cast<int64_t>(v) + by > INT32_MAX ? INT32_MAX : v + by;
}

void extra_life_burst(System& sys, const Player& p) {
    SparkPool& sp = sys.sparks;
    const SlotRange r = pool_append(sp, 1000);
    for (int32_t k = r.first; k < r.end; ++k) {
        const auto s = static_cast<size_t>(k);
        const float speed = random_real(sys.rng, 4.5f) + 0.5f;
        const float a = random_real(sys.rng, TWO_PI);
        place_spark(sp, k, p.ship_x, p.ship_y, speed, a);
        sp.colour[s] = low_byte_of(5.0f * speed + 30.0f);  // the fastest sparks are the highest colours
    }
}

void apply_effect(System& sys, Player& p, int32_t kind) {
    switch (kind) {
        case 1: increase(p.flame_count, 1); break;
        case 2: increase(p.plasma_count, 3); break;
        case 3: p.whitehot_timer = 400; break;  // restarts, does not add
        case 4:
            increase(p.spread, 1);
            if (p.stream > 1) p.stream -= 1;
            break;
        case 5: increase(p.attract, 1); break;
        case 6: increase(p.score, 150); break;
        case 7: p.shot_speed = std::fmin(p.shot_speed * 1.4f, 30.0f); break;
        case 8:
            if (p.ships < 255) p.ships += 1;
            extra_life_burst(sys, p);
            break;
        case 9:
            increase(p.stream, 1);
            if (p.spread > 1) p.spread -= 1;
            break;
        case 10: increase(p.retro, 1); break;
        case 11: p.bullets = p.bullets > 2500 - 300 ? 2500 : p.bullets + 300; break;
        case 12: increase(p.surround, 1); break;
        case 13: p.invincible = 1000; break;
        default: break;
    }
}

// The flash of a collection: 100 debris dots from the ship and a square of 100 sparks that
// grows by a pixel per frame each way.
void collection_flash(System& sys, Game& game) {
    const Player& p = game.player;
    DebrisPool& d = game.debris;
    const SlotRange dr = pool_append(d, 100);
    for (int32_t k = dr.first; k < dr.end; ++k) {
        const auto s = static_cast<size_t>(k);
        uint8_t colour = 10;
        if (random_int(sys.rng, 2) == 0) colour = 11;
        if (random_int(sys.rng, 3) == 0) colour = 15;
        d.x[s] = trunc_i32(p.ship_x);
        d.y[s] = trunc_i32(p.ship_y);
        d.colour[s] = colour;
    }
    SparkPool& sp = sys.sparks;
    const SlotRange r = pool_append(sp, 100);
    for (int32_t k = r.first; k < r.end; ++k) {
        const auto s = static_cast<size_t>(k);
        const int32_t c = k % 100;  // by slot number, not by place in the group
        float dx = 0.0f, dy = 0.0f;
        if (c < 25) { dx = 1.0f; dy = 0.08f * static_cast<float>(c) - 1.0f; }
        else if (c < 50) { dx = -1.0f; dy = 0.08f * static_cast<float>(c - 25) - 1.0f; }
        else if (c < 75) { dx = 0.08f * static_cast<float>(c - 50) - 1.0f; dy = 1.0f; }
        else { dx = 0.08f * static_cast<float>(c - 75) - 1.0f; dy = -1.0f; }
        sp.x[s] = p.ship_x;
        sp.y[s] = p.ship_y;
        sp.dx[s] = dx;
        sp.dy[s] = dy;
        sp.colour[s] = 5;
    }
}

void move_bonus(BonusPool& b, size_t k, const Player& p) {
    b.dx[k] += (p.ship_x - b.x[k]) * 0.00025f * static_cast<float>(p.attract);
    b.dy[k] += (p.ship_y - b.y[k]) * 0.00025f * static_cast<float>(p.attract);
    const float v2 = b.dx[k] * b.dx[k] + b.dy[k] * b.dy[k];
    if (v2 > 4.0f) {  // at most 2 pixels per frame
        const float s = std::sqrt(v2) / 2.0f;
        b.dx[k] /= s;
        b.dy[k] /= s;
    }
    b.x[k] += b.dx[k];
    b.y[k] += b.dy[k];
    if (b.x[k] < 0.0f) b.x[k] += 320.0f;
    if (b.x[k] >= 320.0f) b.x[k] -= 320.0f;
    if (b.y[k] < 0.0f) b.y[k] += 200.0f;
    if (b.y[k] >= 200.0f) b.y[k] -= 200.0f;
}

}  // namespace

void boni_step(System& sys, Game& game) {
    BonusPool& b = game.boni;
    Player& p = game.player;
    for (int32_t i = 0; i < b.count; ++i) {
        const auto k = static_cast<size_t>(i);
        move_bonus(b, k, p);
        // Only a live, vulnerable ship collects; the test is closer than 12 pixels.
        const bool near = square(b.x[k] - p.ship_x) + square(b.y[k] - p.ship_y) < 144.0f;
        if (near && p.death_timer == 0 && p.invincible == 0) {
            apply_effect(sys, p, b.kind[k]);
            if (b.kind[k] >= 1 && b.kind[k] <= BONUS_KIND_COUNT) game.tally.collected[static_cast<size_t>(b.kind[k])] += 1;
            pool_remove(b, i);
            collection_flash(sys, game);
        }
        // The bonus now in slot i: after a collection the one moved in from the end, drawn
        // where it stands; moved and tested next frame. A collected last bonus leaves its
        // entry in the slot, now past the count, and that entry is drawn once more: a
        // faithful quirk, harmless since the slot is inside the pool.
        const int32_t kind = b.kind[k];
        if (kind >= 1 && kind <= BONUS_KIND_COUNT)
            blit_sprite_wrapped(sys.frame, trunc_i32(b.x[k] - 5.0f), trunc_i32(b.y[k] - 5.0f),
                                game.sprites.bonus_icons[static_cast<size_t>(kind - 1)]);
    }
}

}  // namespace qvar
