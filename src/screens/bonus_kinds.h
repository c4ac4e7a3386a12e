// The 13 kinds of pick-up: their names, in the order of their icons in boni.dat.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace qvar {

// Name of icon record k (k = 0..12); a pick-up of kind n (1..13) uses record n - 1.
inline constexpr std::array<std::string_view, 13> BONUS_NAMES = {
    "Flame thrower",
    "+3 plasma balls",
    "White-hot fire",
    "Spread-fire",
    "Attract all other boni",
    "+150 points",
    "Faster bullets",
    "+1 extra life",
    "Stream-fire",
    "Retro-thrusters",
    "Machine-gun and bullets",
    "Surround-fire",
    "Invincibility",
};

// The name of a pick-up kind 1..13; an empty name for any other number, so a bad kind
// never indexes outside the table.
std::string_view bonus_name(int32_t kind);

}  // namespace qvar
