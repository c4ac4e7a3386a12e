// The window procedure: turns neutral platform messages into the shared input state.
#include "platform/input.h"

namespace qvar {

void window_proc(InputState& input, const Message& message) {
    input.char_typed = 0;
    input.last_char = 1;
    switch (message.kind) {
        case MessageKind::Character:
            input.char_typed = 1;
            input.last_char = message.character;
            break;
        case MessageKind::Timer:
            if (message.timer_id == CALIBRATION_TIMER_ID) input.timer_fired = 1;
            break;
        case MessageKind::MouseMove:
            input.mouse_x = message.x;
            input.mouse_y = message.y;
            break;
        case MessageKind::MouseButton:
            input.mouse_buttons = message.button_flags;
            break;
        case MessageKind::DoubleClick:
        case MessageKind::Quit:
        case MessageKind::Other:
            break;
    }
}

}  // namespace qvar
