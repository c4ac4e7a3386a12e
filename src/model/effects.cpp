// Flame and plasma colours; the order of the random draws is part of the game.
#include "model/effects.h"

namespace qvar {

uint8_t flame_colour(Random& rng) {
    if (random_int(rng, 2) != 0) return static_cast<uint8_t>(129 + random_int(rng, 4));
    return static_cast<uint8_t>(137 + 5 * random_int(rng, 4));
}

uint8_t plasma_colour(Random& rng) {
    if (random_int(rng, 10) == 0) return 11;
    return static_cast<uint8_t>(228 + random_int(rng, 10));
}

}  // namespace qvar
