// The options screen: the display gamma, raised or lowered by holding the mouse on an arrow.
#pragma once

#include <cstdint>

#include "model/system.h"

namespace qvar {

// One step of a held arrow, applied once per frame. The limits are tested in double
// precision against the single-precision gamma, so the lower clamp 0.1f (a shade above
// one tenth) still counts as above the limit and is divided and clamped again each frame.
float gamma_step_down(float gamma);
float gamma_step_up(float gamma);
bool gamma_can_go_down(float gamma);
bool gamma_can_go_up(float gamma);

// Called from the menu: runs until "Back" is clicked and released, then stores the gamma in
// prefs.dat (atomically). Throws QuitRequested on a quit request, and then writes nothing.
void show_options(System& sys);

}  // namespace qvar
