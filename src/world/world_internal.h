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
#include "world/shot_bands.h"

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

// Calls on_hit(j) for every shot j that a scan of the bands found, in slot order: one band
// lists them so already; across bands they are put in order by a mark per slot.
template <class OnHit>
inline void report_in_slot_order(const lanes::ShotList& found, int32_t n, bool one_band, OnHit on_hit) {
    if (one_band) {
        for (int32_t k = 0; k < n; ++k) on_hit(found[static_cast<size_t>(k)]);
        return;
    }
    std::array<uint64_t, (SHOT_CAPACITY + 63) / 64> marks{};
    for (int32_t k = 0; k < n; ++k) {
        const int32_t j = found[static_cast<size_t>(k)];
        marks[static_cast<size_t>(j >> 6)] |= uint64_t{1} << (j & 63);
    }
    for (size_t w = 0; w < marks.size(); ++w)
        for (uint64_t m = marks[w]; m != 0; m &= m - 1) on_hit(static_cast<int32_t>(w * 64) + __builtin_ctzll(m));
}

// The bands' entries that can hold shots within `reach` rows of y: a shot that passes a test
// below lies within reach * (1 + 2^-23) of y, so reach is taken a little wider.
inline lanes::ShotColumns columns_near(const ShotBands& b, float y, float reach, bool& one_band) {
    const ShotBands::Range r = b.near(y, reach * 1.001f + 1.0f);
    one_band = r.one_band;
    return {b.x.data(), b.y.data(), b.slot.data(), r.first, r.end};
}

// Calls on_hit(j) for every live shot j, in slot order, strictly within sqrt(r2) of (x, y):
// (sx - x)^2 + (sy - y)^2 < r2.
template <class OnHit>
inline void scan_round(const ShotBands& shots, float x, float y, float r2, OnHit on_hit) {
    bool one_band = false;
    const lanes::ShotColumns c = columns_near(shots, y, std::sqrt(r2), one_band);
    lanes::ShotList found;
    report_in_slot_order(found, lanes::shots_round(c, x, y, r2, found), one_band, on_hit);
}

// Shots in the box |sx - x| <= ax, |sy - y| <= ay (or < for a strict box), likewise.
template <bool STRICT, class OnHit>
inline void scan_box(const ShotBands& shots, float x, float y, float ax, float ay, OnHit on_hit) {
    bool one_band = false;
    const lanes::ShotColumns c = columns_near(shots, y, ay, one_band);
    lanes::ShotList found;
    report_in_slot_order(found, lanes::shots_box(c, x, y, ax, ay, STRICT, found), one_band, on_hit);
}

// ---- the foe pass ----

struct PassState {
    System& sys;
    Game& game;
    KindList cells;       // the foes that cells and lodestones look for, in slot order
    KindList lodestones;
    ShotBands shots;      // the shots by rows, for the shot tests
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
