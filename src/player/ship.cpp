// Ship controls, motion and its life cycle from destruction through respawn.
#include "player/ship.h"

#include <cmath>

#include "player/sparks.h"
#include "gfx/draw.h"
#include "util/float_math.h"
#include "util/numeric.h"
#include "util/pool.h"

namespace qvar {

void turn_ship(Player& p, bool left_down, bool right_down) {
    if (left_down) p.ship_angle -= 0.1f;
    if (right_down) p.ship_angle += 0.1f;
}

void thrust_ship(System& sys, Game& game, bool up_down) {
    Player& p = game.player;
    if (!up_down || p.death_timer != 0) return;
    const SlotRange r = pool_append(sys.sparks, 6);
    p.ship_vx += p.heading_x * THRUST;
    p.ship_vy += p.heading_y * THRUST;
    SparkPool& s = sys.sparks;
    for (int32_t k = r.first; k < r.end; ++k) {
        const auto i = static_cast<size_t>(k);
        s.x[i] = p.ship_x;
        s.y[i] = p.ship_y;
        s.dx[i] = (random_real(sys.rng, 1.0f) - 0.5f) - 2.0f * p.heading_x;
        s.dy[i] = (random_real(sys.rng, 1.0f) - 0.5f) - 2.0f * p.heading_y;
        s.colour[i] = static_cast<uint8_t>(40 + random_int(sys.rng, 5));
    }
}

namespace {

// One retro spark: from 5 pixels left or right of the ship, blown forward.
void retro_spark(System& sys, const Player& p, size_t i, uint8_t colour) {
    SparkPool& s = sys.sparks;
    const float side = static_cast<float>(10 * random_int(sys.rng, 2) - 5);
    s.x[i] = p.ship_x + side * p.heading_y;
    s.y[i] = p.ship_y - side * p.heading_x;
    const float jitter_x = random_real(sys.rng, 0.3f) - 0.15f;
    const float speed_x = random_real(sys.rng, 1.0f) + 3.0f;
    s.dx[i] = jitter_x + speed_x * p.heading_x;
    const float jitter_y = random_real(sys.rng, 0.3f) - 0.15f;
    const float speed_y = random_real(sys.rng, 1.0f) + 3.0f;
    s.dy[i] = jitter_y + speed_y * p.heading_y;
    s.colour[i] = colour;
}

}  // namespace

void retro_thrust_ship(System& sys, Game& game, bool down_down) {
    Player& p = game.player;
    if (!down_down || p.death_timer != 0 || p.retro == 0) return;
    const SlotRange r = pool_append(sys.sparks, 6);
    const float f = 1.0f - std::ldexp(1.0f, -p.retro);
    p.ship_vx -= f * p.heading_x * THRUST;
    p.ship_vy -= f * p.heading_y * THRUST;
    const auto colour = static_cast<uint8_t>(p.retro < 4 ? 40 + p.retro : 44);
    for (int32_t k = r.first; k < r.end; ++k) retro_spark(sys, p, static_cast<size_t>(k), colour);
}

void move_ship(Player& p) {
    p.ship_x += p.ship_vx;
    p.ship_y += p.ship_vy;
    p.heading_x = sine(p.ship_angle);
    p.heading_y = -cosine(p.ship_angle);
    // 6.283 rather than 2 pi: the heading drifts by a little under 0.0002 per full turn.
    if (p.ship_angle < 0.0f) p.ship_angle += SHIP_ANGLE_WRAP;
    if (p.ship_angle >= SHIP_ANGLE_WRAP) p.ship_angle -= SHIP_ANGLE_WRAP;
    p.ship_vx *= 0.99f;
    p.ship_vy *= 0.99f;
    if (p.ship_x < 0.0f) p.ship_x += static_cast<float>(SCREEN_WIDTH);
    if (p.ship_x >= static_cast<float>(SCREEN_WIDTH)) p.ship_x -= static_cast<float>(SCREEN_WIDTH);
    if (p.ship_y < 0.0f) p.ship_y += static_cast<float>(SCREEN_HEIGHT);
    if (p.ship_y >= static_cast<float>(SCREEN_HEIGHT)) p.ship_y -= static_cast<float>(SCREEN_HEIGHT);
}

int32_t ship_orientation(float angle) {
    const int32_t k = trunc_i32(10.0f * angle);
    if (k < 0) return 0;
    return k < SHIP_ORIENTATIONS - 1 ? k : SHIP_ORIENTATIONS - 1;
}

namespace {

bool ship_visible(const Player& p) {
    return (p.death_timer == 0 && p.invincible % 2 == 0) || (p.invincible % 4 == 1 && p.invincible < 80);
}

void draw_ship(System& sys, const Game& game) {
    const Player& p = game.player;
    const Sprite& sprite = game.sprites.ship[static_cast<size_t>(ship_orientation(p.ship_angle))];
    blit_sprite_wrapped(sys.frame, trunc_i32(p.ship_x - 7.5f), trunc_i32(p.ship_y - 7.5f), sprite);
}

void run_timers(Player& p, int32_t foe_count) {
    if (p.invincible != 0) --p.invincible;
    if (foe_count == 0) p.clear_frames = add_wrap(p.clear_frames, 1);
    if (p.whitehot_timer != 0) {
        --p.whitehot_timer;
        if (p.whitehot_timer == 0) p.weapon = 1;
    }
}

}  // namespace

void respawn_ship(System& sys, Game& game) {
    Player& p = game.player;
    p.death_timer = 0;
    p.ships -= 1;
    p.invincible = INVINCIBLE_AFTER_RESPAWN;
    p.ship_x = SCREEN_CENTRE_X;
    p.ship_y = SCREEN_CENTRE_Y;
    p.ship_vx = 0.0f;
    p.ship_vy = 0.0f;
    p.ship_angle = 0.0f;
    respawn_burst(sys.sparks, sys.rng);
    p.bullets = 0;
    p.retro = 0;
    p.attract = 0;
    p.whitehot_timer = 0;
    p.plasma_count = 0;
    p.flame_count = 0;
    p.surround = 0;
    p.spread = 1;
    p.stream = 1;
    p.shot_speed = BASE_SHOT_SPEED;
}

void ship_end_of_frame(System& sys, Game& game) {
    Player& p = game.player;
    if (ship_visible(p))
        draw_ship(sys, game);
    else if (p.death_timer != 0)
        p.death_timer = add_wrap(p.death_timer, 1);
    run_timers(p, game.foes.count);
    if (p.death_timer >= RESPAWN_FRAMES && p.shown_score == p.score) respawn_ship(sys, game);
    if (p.invincible == 1) ring_burst(sys.sparks, sys.rng, p.ship_x, p.ship_y, 1000, 1);
}

}  // namespace qvar
