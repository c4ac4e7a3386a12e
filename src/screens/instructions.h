// The two-page instructions screen: objective, keys and display, then the key to the pick-ups.
#pragma once

#include <array>

#include "gfx/sprite.h"
#include "model/system.h"

namespace qvar {

// Page 1: the objective, the keys and the heads-up display explained.
void draw_instructions_page1(System& sys);
// Page 2: the 13 pick-up icons (records 0..12 of boni.dat) with their names.
void draw_instructions_page2(System& sys, const std::array<Sprite, 13>& icons);

// Called from the menu. Shows each page until its own key or click, waiting for the release
// before and after, so one press never turns two pages or reaches the menu.
// Throws QuitRequested on a quit request.
void show_instructions(System& sys);

}  // namespace qvar
