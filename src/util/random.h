// The game's two random sources. Neither is ever seeded, so every run draws the same numbers.
#pragma once

#include <cstdint>

#include "util/numeric.h"

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
// Inline: the densest frames draw a few million of these.
inline int32_t random_int(Random& rng, int32_t n) {
    const uint32_t old = rng.s2;
    // The sum modulo 2^32 - 1, as 32 bits: one more when it reaches 2^32 - 1 (written without
    // a branch, which would be a coin toss to predict).
    const uint64_t sum = static_cast<uint64_t>(rng.s1) + rng.s2;
    rng.s2 = static_cast<uint32_t>(sum + (sum >= 4294967295u ? 1u : 0u));
    rng.s1 = old;
    if (n <= 1) return 0;
    const float scaled = static_cast<float>(rng.s2) / 4294967296.0f * static_cast<float>(n);
    int32_t result = trunc_i32(scaled);
    // A state of 2^32 - 128 or more rounds to 2^32 as a float and would give n.
    if (result >= n) result = n - 1;
    if (result < 0) result = 0;
    return result;
}

// A real from 0 to x, both ends included: draw / 32767 * x in single precision.
float random_real(Random& rng, float x);

// The next raw 0 .. 32767 draw behind random_real.
int32_t random_draw15(Random& rng);

}  // namespace qvar
