// Weapon choice, volley geometry, costs and the machine-gun's cadence and recoil.
#include "player/weapons.h"


#include "player/sparks.h"
#include "util/float_math.h"
#include "util/numeric.h"
#include "util/pool.h"

namespace qvar {

void select_weapon(Player& p, bool control_down) {
    if (control_down && p.select_held == 0) p.weapon += 1;
    // Each test once and in this order, so one frame skips every empty weapon in turn.
    if (p.weapon == 2 && p.flame_count == 0) p.weapon = 3;
    if (p.weapon == 3 && p.plasma_count == 0) p.weapon = 4;
    if (p.weapon == 4 && p.whitehot_timer == 0) p.weapon = 5;
    if (p.weapon == 5 && p.bullets == 0) p.weapon = 6;
    if (p.whitehot_timer != 0) p.weapon = 4;
    if (p.weapon > 5) p.weapon = 1;
    p.select_held = control_down ? 1 : 0;
}

namespace {

void put_shot(ShotPool& s, int32_t k, float x, float y, float dx, float dy, int32_t life, int32_t weapon) {
    const auto i = static_cast<size_t>(k);
    if (weapon == 5) {  // machine-gun bullets: twice as fast for half as long
        dx *= 2.0f;
        dy *= 2.0f;
        life /= 2;
    }
    s.x[i] = x;
    s.y[i] = y;
    s.dx[i] = dx;
    s.dy[i] = dy;
    s.life[i] = life;
    s.kind[i] = weapon;
    s.spent.set(k, 0);
}

// Forward shot k of n side by side, m deep: offset sideways by f and sped up by g so the
// rows string out along the line of fire.
void forward_shot(Game& game, int32_t slot, int32_t k, int32_t life) {
    const Player& p = game.player;
    const int32_t n = p.spread < 1 ? 1 : p.spread;
    const int32_t m = p.stream < 1 ? 1 : p.stream;
    const float f = static_cast<float>(k % n) + 0.5f - 0.5f * static_cast<float>(n);
    const float g = exponential(0.1f * static_cast<float>(k) / static_cast<float>(n) - 0.05f * static_cast<float>(m));
    const float dx = (f * p.heading_y + p.shot_speed * p.heading_x + p.ship_vx) * g;
    const float dy = (p.shot_speed * p.heading_y + p.ship_vy - f * p.heading_x) * g;
    put_shot(game.shots, slot, p.ship_x + 8.0f * p.heading_x, p.ship_y + 8.0f * p.heading_y, dx, dy, life, p.weapon);
}

// Surround shot k of s: the turn split into s + 1 parts, the forward one left out.
void surround_shot(Game& game, int32_t slot, int32_t k, int32_t life) {
    const Player& p = game.player;
    const float a = TWO_PI * static_cast<float>(k + 1) / static_cast<float>(p.surround + 1) + p.ship_angle;
    const float dx = sine(a) * p.shot_speed + p.ship_vx;
    const float dy = -cosine(a) * p.shot_speed + p.ship_vy;
    put_shot(game.shots, slot, p.ship_x, p.ship_y, dx, dy, life, p.weapon);
}

void pay_for_volley(Player& p, int32_t forward, int32_t total) {
    if (p.weapon == 3) {
        // Never below 0: after a respawn weapon 3 can stay selected for one frame with no
        // plasma left, and a negative count would keep the weapon available for ever.
        if (p.plasma_count > 0) p.plasma_count -= 1;
    }
    if (p.weapon != 5) return;
    p.gun_cooldown = GUN_REPEAT_FRAMES;
    p.bullets = p.bullets > total ? p.bullets - total : 0;
    // Surround-fire pushes all round, so it cancels the push of one forward shot.
    const auto n = static_cast<float>(forward - (p.surround > 0 ? 1 : 0));
    p.ship_vx -= RECOIL * p.heading_x * THRUST * p.shot_speed * n;
    p.ship_vy -= RECOIL * p.heading_y * THRUST * p.shot_speed * n;
}

}  // namespace

int32_t fire_volley(Game& game) {
    Player& p = game.player;
    // The upgrades keep spread and stream at 1 or more and the pool takes at most 1000
    // shots; bounding the counts first keeps the arithmetic clear of overflow.
    const int64_t wanted_forward = static_cast<int64_t>(p.spread < 1 ? 1 : p.spread) * (p.stream < 1 ? 1 : p.stream);
    const int64_t wanted = wanted_forward + (p.surround > 0 ? p.surround : 0);
    const auto total = static_cast<int32_t>(wanted < MAX_VOLLEY ? wanted : MAX_VOLLEY);
    const auto forward = static_cast<int32_t>(wanted_forward < total ? wanted_forward : total);
    const int32_t life = trunc_i32(SHOT_RANGE / p.shot_speed);
    const SlotRange r = pool_append(game.shots, total);
    for (int32_t k = 0; k < r.size(); ++k) {
        if (k < forward)
            forward_shot(game, r.first + k, k, life);
        else
            surround_shot(game, r.first + k, k - forward, life);
    }
    pay_for_volley(p, forward, total);
    return r.size();
}

int32_t fire_step(Game& game, bool space_down) {
    Player& p = game.player;
    int32_t fired = 0;
    const bool trigger = p.fire_held == 0 || (p.weapon == 5 && p.gun_cooldown == 0);
    if (trigger && space_down && game.shots.count + 1 <= SHOT_CAPACITY && p.death_timer == 0)
        fired = fire_volley(game);
    p.fire_held = space_down ? 1 : 0;
    if (p.gun_cooldown != 0) p.gun_cooldown -= 1;
    return fired;
}

}  // namespace qvar
