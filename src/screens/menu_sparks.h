// The main menu's spark field: its own step with the blinking rule, the pointer trail and the
// colour bursts. The game steps the same pool with its own rules.
#pragma once

#include <cstdint>

#include "model/spark_pool.h"
#include "gfx/frame_buffer.h"
#include "util/random.h"

namespace qvar {

inline constexpr int32_t TRAIL_SPARKS = 10;    // added every menu frame
inline constexpr int32_t BURST_SPARKS = 125;   // one per colour of the 5x5x5 cube
inline constexpr int32_t BURST_CHANCE = 80;    // a burst in one frame of 80 on average

// First step of every menu frame. Each spark moves, then leaves the pool once it is off the
// screen (the last spark takes its slot and is drawn there unmoved this frame). A spark is
// drawn when trunc(phase/4 + x/(y/4 + 1)) is odd, so the trail twinkles in a drifting
// pattern; colours with bit 7 set (the bursts) are always drawn.
void menu_spark_step(SparkPool& sparks, FrameBuffer& fb, float menu_phase);

// Seventh step: up to 10 sparks leave the pointer in random directions at speed 1, coloured
// from the grey ramp by their angle and the phase. A full pool takes fewer or none, and only
// the sparks that fit draw random numbers.
void spawn_trail(SparkPool& sparks, Random& rng, int32_t mouse_x, int32_t mouse_y, float menu_phase);

// Eighth step: one frame in 80, a lattice of up to 125 sparks from a random point, each
// spark's velocity a linear function of its cube colour's red, green and blue levels. The
// centre and the six weights are always drawn once the burst is decided, even when no
// spark fits.
void maybe_colour_burst(SparkPool& sparks, Random& rng);

// The burst itself, at a given centre with the six weights w[0..5].
void colour_burst(SparkPool& sparks, float cx, float cy, const float (&w)[6]);

}  // namespace qvar
