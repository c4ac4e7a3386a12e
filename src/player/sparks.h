// The game's particle step and the spark bursts of the ship's life cycle.
#pragma once

#include "model/spark_pool.h"
#include "gfx/frame_buffer.h"
#include "util/numeric.h"
#include "util/random.h"

namespace qvar {

inline constexpr float SCREEN_CENTRE_X = 160.0f;
inline constexpr float SCREEN_CENTRE_Y = 100.0f;

// Puts spark k at (x, y) flying at `speed` along angle a: velocity (sin a, cos a) * speed.
// The caller draws speed and angle, in whatever order its own rule draws them.
void place_spark(SparkPool& sparks, int32_t k, float x, float y, float speed, float a);

// Frame step 8: each spark off the field is dropped (the one swapped into its slot is moved
// and drawn untested this pass); every other spark moves by its velocity and is drawn as one
// pixel, clipped. A spark with a non-finite position counts as off the field.
void spark_step(SparkPool& sparks, FrameBuffer& frame);

// The game's opening burst: the count becomes exactly 1000 (whatever the menu left is
// overwritten or dropped), every spark at the centre with speed sqrt 20 .. 5 in a random
// direction and a grey-to-white colour 24 .. 31. Called once by the set-up.
void start_burst(SparkPool& sparks, Random& rng);

// Appends up to `count` sparks at (x, y), each with speed sqrt 20 .. 5 in a random direction
// and the given colour (the ring that marks the end of invincibility).
void ring_burst(SparkPool& sparks, Random& rng, float x, float y, int32_t count, uint8_t colour);

// Appends up to 1000 sparks at the centre whose velocities are drawn again until their
// squared length lies in 20 .. 25, coloured 24 .. 31 (the respawn).
void respawn_burst(SparkPool& sparks, Random& rng);

}  // namespace qvar
