// The game's two random sources, defined bit for bit so every platform plays the same game.
#include "util/random.h"

#include "util/numeric.h"

namespace qvar {

int32_t random_int(Random& rng, int32_t n) {
    uint32_t old = rng.s2;
    if (rng.s1 < 4294967295u - rng.s2)
        rng.s2 = rng.s1 + rng.s2;
    else
        rng.s2 = rng.s1 + rng.s2 + 1u;  // unsigned wrap: the sum modulo 2^32 - 1
    rng.s1 = old;
    if (n <= 1) return 0;
    float scaled = static_cast<float>(rng.s2) / 4294967296.0f * static_cast<float>(n);
    int32_t result = trunc_i32(scaled);
    // A state of 2^32 - 128 or more rounds to 2^32 as a float and would give n.
    if (result >= n) result = n - 1;
    if (result < 0) result = 0;
    return result;
}

int32_t random_draw15(Random& rng) {
    rng.lcg = rng.lcg * 214013u + 2531011u;
    return static_cast<int32_t>((rng.lcg >> 16) & 0x7FFFu);
}

float random_real(Random& rng, float x) {
    float r = static_cast<float>(random_draw15(rng));
    return r / 32767.0f * x;
}

}  // namespace qvar
