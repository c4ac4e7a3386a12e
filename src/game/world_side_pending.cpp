// Boni and levels until the world's issue lands.
#include "game/boni.h"
#include "game/levels.h"

namespace qvar {

void boni_step(System&, Game&) {}
std::array<int32_t, 10> compose_level(int32_t) { return {}; }
void level_end_step(System&, Game&) {}

}  // namespace qvar
