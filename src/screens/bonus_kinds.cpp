// Pick-up kind names, shared by the instructions page and the game.
#include "screens/bonus_kinds.h"

#include "model/game_state.h"

namespace qvar {

static_assert(BONUS_NAMES.size() == static_cast<size_t>(BONUS_KIND_COUNT), "one name per pick-up kind");

std::string_view bonus_name(int32_t kind) {
    if (kind < 1 || kind > BONUS_KIND_COUNT) return {};
    return BONUS_NAMES[static_cast<size_t>(kind - 1)];
}

}  // namespace qvar
