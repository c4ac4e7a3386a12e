// Pausing the game under a veil, driven only by typed characters.
#include "player/pause.h"

#include "gfx/draw.h"

namespace qvar {

void draw_pause_veil(FrameBuffer& frame) {
    for (uint32_t x = 0; x < static_cast<uint32_t>(SCREEN_WIDTH); x += 10) {
        for (uint32_t y = 10 * ((x / 10) % 2); y < static_cast<uint32_t>(SCREEN_HEIGHT); y += 20) {
            fill_rect(frame, x + 1, y + 1, 8, 8, 20);
            fill_rect(frame, x + 2, y + 2, 6, 6, 19);
        }
    }
}

void pause_step(System& sys) {
    draw_pause_veil(sys.frame);
    draw_text(sys.frame, sys.font, SCREEN_WIDTH / 2 - 10, SCREEN_HEIGHT / 2 - 2, NO_WRAP, "Paused", 15, 7);
    present_frame(sys);
    wait_while_char_typed(sys);  // the character of the P press itself passes
    wait_until_char_typed(sys);
    wait_while_char_typed(sys);  // until that character's message has passed
}

}  // namespace qvar
