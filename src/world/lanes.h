// The world's hot loops, each built twice with the same bits: four lanes at a time (plain SSE
// at the default x86-64 level, whatever the compiler makes of them elsewhere) and, on x86-64
// processors with AVX2, eight. Every lane does the IEEE operations of the plain loop it
// replaces, in the same order, and nothing is fused, so the width never changes a result.
// The width is chosen at start-up from the processor; tests may set it to try each one.
#pragma once

#include <array>
#include <cstdint>

#include "model/game_state.h"
#include "world/kind_list.h"

namespace qvar::world::lanes {

// 8 when this build and the processor both allow AVX2, else 4.
int32_t widest();
// The width in use; the widest to begin with.
int32_t width();
// Uses 4 lanes, or 8 where widest() allows; any other request is ignored. For tests.
void use_width(int32_t lanes);

// Shot positions to scan, entries [first, end) of the columns x, y, reported by their ids
// (slot numbers), in entry order.
struct ShotColumns {
    const float *x, *y;
    const int32_t* id;
    int32_t first, end;
};
using ShotList = std::array<int32_t, SHOT_CAPACITY>;
// The shots strictly within sqrt(r2) of (x, y): (sx - x)^2 + (sy - y)^2 < r2. Returns the count.
int32_t shots_round(const ShotColumns& s, float x, float y, float r2, ShotList& out);
// The shots in the box |sx - x| <= ax, |sy - y| <= ay, or with < when `strict`.
int32_t shots_box(const ShotColumns& s, float x, float y, float ax, float ay, bool strict, ShotList& out);

// Entries [first, end) of the parallel columns lying strictly within 50 pixels of (x, y) have
// their velocity, and spin when given, turned back (the sign flipped: exactly -v).
void turn_back(const float* px, const float* py, float* vx, float* vy, float* spin, int32_t first, int32_t end,
               float x, float y);
// Foes [first, end) pulled toward (x, y): velocity += 0.3 * offset / distance^2, the squared
// distance floored at 100.
void pull_foes(FoePool& f, int32_t first, int32_t end, float x, float y);
// Every live shot pulled toward (x, y): velocity += 3 * offset / distance^2, no floor; a shot
// exactly on (x, y) is left alone.
void pull_shots(ShotPool& s, float x, float y);

// Whether the listed cells other than slot i crowd (x, y): the sum, in slot order, of
// 10^6 / (d^2 + 1), distances taken across the wrap-round, passes 1000.
bool crowded(const KindList& cells, int32_t i, float x, float y);

// The lodestone whose pulls are being added up, and its velocity so far.
struct Puller {
    int32_t slot, gen;
    float x, y, size;
    float dx, dy;
};
// The listed lodestones from entry `from` on, in slot order, pull `p` and are pulled by it
// (mass_j * offset / distance / distance^2 each way), up to the first one that touches it:
// returns that one's slot, or -1. Pairs whose masses add up to 20 or more are passed over.
int32_t pull_lodestones(const KindList& l, int32_t from, Puller& p, FoePool& f);

}  // namespace qvar::world::lanes
