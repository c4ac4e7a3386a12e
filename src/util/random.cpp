// The game's two random sources, defined bit for bit so every platform plays the same game.
#include "util/random.h"

#include "util/numeric.h"

namespace qvar {

int32_t random_draw15(Random& rng) {
    rng.lcg = rng.lcg * 214013u + 2531011u;
    return static_cast<int32_t>((rng.lcg >> 16) & 0x7FFFu);
}

float random_real(Random& rng, float x) {
    float r = static_cast<float>(random_draw15(rng));
    return r / 32767.0f * x;
}

}  // namespace qvar
