// Colours of the weapon effects, shared by the shots and the burning foes.
#pragma once

#include <cstdint>

#include "util/random.h"

namespace qvar {

// 129..132 (the cube's reds) or 137, 142, 147, 152 (red rising toward yellow).
uint8_t flame_colour(Random& rng);
// 11 (cyan) one time in ten, otherwise 228..237 (full-blue cube colours).
uint8_t plasma_colour(Random& rng);

}  // namespace qvar
