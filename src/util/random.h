// The game's two random sources. Neither is ever seeded, so every run draws the same numbers.
#pragma once

#include <cstdint>

namespace qvar {

struct Random {
    // Additive Fibonacci generator modulo 2^32 - 1, for whole numbers in a range.
    uint32_t s1 = 123456789u;
    uint32_t s2 = 987654321u;
    // Linear congruential generator giving draws 0 .. 32767, for reals.
    uint32_t lcg = 1u;
};

// A whole number 0 .. n-1 (n >= 1); advances the Fibonacci state by one step.
// The float scaling can round up to n for the largest states; the result is kept below n.
int32_t random_int(Random& rng, int32_t n);

// A real from 0 to x, both ends included: draw / 32767 * x in single precision.
float random_real(Random& rng, float x);

// The next raw 0 .. 32767 draw behind random_real.
int32_t random_draw15(Random& rng);

}  // namespace qvar
