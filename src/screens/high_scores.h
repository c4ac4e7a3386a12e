// The high-score screen.
#pragma once

#include <cstdint>

#include "model/system.h"
#include "store/high_score_file.h"

namespace qvar {

// "st", "nd", "rd" or "th" for a place number: 1st, 2nd, 3rd, 4th, 11th, 12th, 13th, 21st...
const char* ordinal_suffix(int32_t n);

// Draws one frame of the high-score screen at phase t (title hue, wobbling rows, prompt).
void draw_high_scores(System& sys, const HighScoreTable& table, float t);

// Called from the menu and after game over: rereads the file, shows it until a key or click,
// and returns once the mouse buttons are released. Throws QuitRequested on a quit request.
void show_high_scores(System& sys);

}  // namespace qvar
