// The keys each game action has when the player has not chosen others, by SDL key name.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace qvar {

using KeyNames = std::array<std::vector<std::string>, GAME_KEY_COUNT>;  // indexed by GameKey

// Space fires, either Control selects the next weapon, the arrows steer, P pauses, Q quits.
inline KeyNames default_key_names() {
    return {{{"Space"}, {"Left Ctrl", "Right Ctrl"}, {"Left"}, {"Up"}, {"Right"}, {"Down"}, {"P"}, {"Q"}}};
}

}  // namespace qvar
