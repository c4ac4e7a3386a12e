// Shared pieces of the world's steps: the state of one foe pass, pool helpers, hit pairs and
// the shot scans that the foe kinds use. Not part of the game's public interface.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>

#include "model/game_state.h"
#include "gfx/draw.h"
#include "model/system.h"
#include "util/numeric.h"
#include "util/pool.h"
#include "util/random.h"
#include "world/kind_list.h"
#include "world/lanes.h"

namespace qvar::world {

// The game's angle constants, as single-precision values.
inline constexpr float THREE_TURNS = 18.84955596923828f;
inline constexpr float TRI_STEP = 2.1048670779051615f;   // 0.67 pi
inline constexpr float TRI_SPREAD = 2.0734511513692637f; // 0.66 pi

// Rock and lodestone sizes by size step; a step outside the table reads its nearest end.
inline int32_t rock_size(const GameSprites& s, int32_t gen) {
    if (gen < 0) gen = 0;
    if (gen > ROCK_SPRITE_COUNT) gen = ROCK_SPRITE_COUNT;
    return s.rock_sizes[static_cast<size_t>(gen)];
}
inline const Sprite& rock_sprite(const GameSprites& s, int32_t gen) {
    int32_t k = gen - 1;
    if (k < 0) k = 0;
    if (k >= ROCK_SPRITE_COUNT) k = ROCK_SPRITE_COUNT - 1;
    return s.rocks[static_cast<size_t>(k)];
}
inline int32_t block_gen(int32_t gen) { return gen < 0 ? 0 : (gen > 3 ? 3 : gen); }

// Adds points without ever wrapping the score round to a negative number.
inline void add_points(int32_t& score, int64_t points) {
    int64_t s = static_cast<int64_t>(score) + points;
    if (s > INT32_MAX) s = INT32_MAX;
    if (s < INT32_MIN) s = INT32_MIN;
    score = static_cast<int32_t>(s);
}

// Brings a coordinate back onto the field after the usual one-step wrap left it outside,
// which only a velocity larger than the field itself can do.
inline float rewrap(float v, float size) {
    if (v >= 0.0f && v <= size) return v;
    if (!std::isfinite(v)) return 0.0f;
    float r = std::fmod(v, size);
    return r < 0.0f ? r + size : r;
}

// A sprite drawn at offset (a, b) from a foe: blit_sprite_wrapped at (trunc(x - a), trunc(y - b)).
void draw_sprite_at(FrameBuffer& fb, float x, float y, float a, float b, const Sprite& sprite);

// ---- hit pairs ----

// Appends a pair; a full list lets the newest pair replace its last entry, so nothing is
// ever written past the list's capacity.
inline void add_hit_pair(HitPairs& h, int32_t foe, int32_t shot) {
    const int32_t at = h.count < HitPairs::capacity ? h.count : HitPairs::capacity - 1;
    h.foe[static_cast<size_t>(at)] = foe;
    h.shot[static_cast<size_t>(at)] = shot;
    if (h.count < HitPairs::capacity) ++h.count;
}

// Calls on_hit(j) for every live shot j, in slot order, strictly within sqrt(r2) of (x, y).
// Shot positions must not change during the scan.
template <class OnHit>
inline void scan_round(const ShotPool& shots, float x, float y, float r2, OnHit on_hit) {
    lanes::ShotList hits;
    const int32_t n = lanes::shots_round(shots, x, y, r2, hits);
    for (int32_t k = 0; k < n; ++k) on_hit(hits[static_cast<size_t>(k)]);
}

// Shots in the box |sx - x| <= ax, |sy - y| <= ay (or < for a strict box), likewise.
template <bool STRICT, class OnHit>
inline void scan_box(const ShotPool& shots, float x, float y, float ax, float ay, OnHit on_hit) {
    lanes::ShotList hits;
    const int32_t n = lanes::shots_box(shots, x, y, ax, ay, STRICT, hits);
    for (int32_t k = 0; k < n; ++k) on_hit(hits[static_cast<size_t>(k)]);
}

// ---- the foe pass ----

struct PassState {
    System& sys;
    Game& game;
    KindList cells;       // the foes that cells and lodestones look for, in slot order
    KindList lodestones;
    bool ship_contact = false;
    float ship_distance2 = 0.0f;
};

// Appends a foe during the pass when the pool has room: fields set, effect and dead bits clear.
// Returns its slot, or -1 when the pool is full.
int32_t append_foe_in_pass(PassState& ps, int32_t kind, int32_t gen, float x, float y, float dx, float dy);
// Removes foe j during the pass: the last foe moves into slot j with its effect bits; the dead
// bit stays with the slot. Returns the slot the last foe came from.
int32_t remove_foe_in_pass(PassState& ps, int32_t j);

// Contact tests: set ps.ship_contact.
inline void contact_round(PassState& ps, float r) {
    if (ps.ship_distance2 < square(SHIP_RADIUS + r)) ps.ship_contact = true;
}
inline void contact_box(PassState& ps, float x, float y, float ax_max, float ay_max) {
    const Player& p = ps.game.player;
    if (std::fabs(p.ship_x - x) <= ax_max && std::fabs(p.ship_y - y) <= ay_max) ps.ship_contact = true;
}

// Shot tests recording the pair (i, j) for every shot inside the foe.
void shot_test_round(PassState& ps, int32_t i, float x, float y, float r2);
void shot_test_box(PassState& ps, int32_t i, float x, float y, float ax_max, float ay_max);

// The kinds' own steps (step 7 of a foe's pass).
void shed_burning_debris(PassState& ps, int32_t i);
void step_rock(PassState& ps, int32_t i);
void step_wheel(PassState& ps, int32_t i);
void step_dart(PassState& ps, int32_t i);
void step_saucer(PassState& ps, int32_t i);
void step_pellet(PassState& ps, int32_t i);
void step_triangle(PassState& ps, int32_t i);
void step_web(PassState& ps, int32_t i);
void step_orbiter(PassState& ps, int32_t i);
void step_block(PassState& ps, int32_t i);
void step_repeller(PassState& ps, int32_t i);
void step_cell(PassState& ps, int32_t i);
// May move the lodestone to another slot (when it was the last foe and absorbed one below it);
// returns the slot it ends in.
int32_t step_lodestone(PassState& ps, int32_t i);
void step_spinner(PassState& ps, int32_t i);

// ---- sparks ----

// A spark_burst velocity: random direction, 10 <= dx^2 + dy^2 <= 25.
void spark_burst_velocity(Random& rng, float& dx, float& dy);

}  // namespace qvar::world
