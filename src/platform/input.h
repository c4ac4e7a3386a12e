// The input state the window procedure keeps, and the procedure that updates it.
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace qvar {

inline constexpr int32_t CALIBRATION_TIMER_ID = 42;

struct InputState {
    int32_t char_typed = 0;    // 1 while the last message handled was a character
    uint8_t last_char = 1;     // that character's code; 1 otherwise
    int32_t mouse_x = 0;       // last mouse-move position, play-field pixels
    int32_t mouse_y = 0;
    uint32_t mouse_buttons = 0;  // flag word of the last left/right button message
    uint8_t timer_fired = 0;     // set by a tick of the calibration timer
};

// Handles one dispatched message. Every message first clears char_typed and sets last_char
// to 1; a character then sets them, a mouse move sets the position, a button message its
// flag word, a calibration tick timer_fired. Quit messages never reach here.
void window_proc(InputState& input, const Message& message);

}  // namespace qvar
