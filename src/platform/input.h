// The input state the window procedure keeps, and the procedure that updates it.
//
// Every message is handled as it comes (a delay handles all of them), yet no press may slip
// past the frames unseen. So a press is latched: once a character or a button message has
// shown a press, a later message that would make char_typed or mouse_buttons read 0 again
// is held back until end_input_frame, which a presented frame and every waiting loop call
// once they have looked. A press no frame has seen is thus visible to the next frame even
// when its release was handled first, and reads as released after that frame. The latch
// only ever delays a change to 0; every other change shows at once.
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace qvar {

inline constexpr int32_t CALIBRATION_TIMER_ID = 42;

struct InputState {
    int32_t char_typed = 0;    // 1 while the last message handled was a character (or latched)
    uint8_t last_char = 1;     // that character's code; 1 otherwise
    int32_t mouse_x = 0;       // last mouse-move position, play-field pixels
    int32_t mouse_y = 0;
    uint32_t mouse_buttons = 0;  // flag word of the last left/right button message (or latched)
    uint8_t timer_fired = 0;     // set by a tick of the calibration timer

    bool char_unseen = false;     // a character was shown since the last end_input_frame
    bool buttons_unseen = false;  // a nonzero button word was shown since then
    bool char_held_back = false;     // a message cleared the character; it still shows
    bool buttons_held_back = false;  // a button message of 0 came; the press still shows
};

// Handles one dispatched message. Every message first clears char_typed and sets last_char
// to 1; a character then sets them, a mouse move sets the position, a button message its
// flag word, a calibration tick timer_fired. A clearing to 0 waits while a press is latched
// (see above). Quit messages never reach here.
void window_proc(InputState& input, const Message& message);

// Called when a frame (or a waiting loop) has looked at the state: what was held back now
// shows, and the next press is latched afresh. Returns true when a shown field changed.
bool end_input_frame(InputState& input);

}  // namespace qvar
