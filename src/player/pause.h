// The pause: a checkerboard veil and "Paused" over the frozen frame until a key is typed.
#pragma once

#include "model/system.h"

namespace qvar {

// Draws the veil: every other 10x10 cell gets an 8x8 square of colour 20 with a 6x6 centre
// of colour 19; the game shows through the other cells and the borders.
void draw_pause_veil(FrameBuffer& frame);

// Frame step 18, when P is down: veil and "Paused" over the frame built so far, shown; then
// waits until a key that makes a character is typed (arrows and Control do not count). The
// caller's present then shows one black frame. Throws QuitRequested when the window closes.
void pause_step(System& sys);

}  // namespace qvar
