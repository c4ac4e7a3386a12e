// The heads-up display drawn over the play-field: level, ships, tallies, bars, the weapon
// marker and the running-up score.
#pragma once

#include "model/game_state.h"
#include "model/system.h"

namespace qvar {

// Icons a tally of `count` shows: hundreds + tens digit + units digit.
int32_t tally_count(int32_t count);

// Draws `count` as a row of icons 12 pixels apart from (x, y): count/100 icons under the
// hundreds mark, then the tens digit's worth under the tens mark, then the units plain.
void draw_tally(FrameBuffer& frame, int32_t x, int32_t y, const Sprite& icon, const Sprite& tens_mark,
                const Sprite& hundreds_mark, int32_t count);

// Frame step 7, under everything else: level number, ship chevrons, the flame and plasma
// tallies, the bullet bar, the attraction and retro tallies, the white-hot dots and the
// marker of the selected weapon.
void hud_first_half(System& sys, const Game& game);

// One step of the shown score toward the score: the bigger the gap, the bigger the step.
int32_t run_up_score(int32_t shown, int32_t score);

// The x of score digit j (0 = units): 300, 292, 284, 274, ... with a gap after every three.
int32_t score_digit_x(int32_t j);

// Frame step 17, over everything but the pause: runs shown_score up one step and draws it,
// right-aligned at x = 300, at most nine digits, no leading zeros.
void hud_second_half(System& sys, Game& game);

}  // namespace qvar
