// The window procedure: turns neutral platform messages into the shared input state.
#include "platform/input.h"

namespace qvar {

namespace {

void show_character(InputState& input, int32_t typed, uint8_t c) {
    input.char_held_back = typed == 0 && input.char_unseen;
    if (input.char_held_back) return;
    input.char_typed = typed;
    input.last_char = c;
    if (typed != 0) input.char_unseen = true;
}

void show_buttons(InputState& input, uint32_t flags) {
    input.buttons_held_back = flags == 0 && input.buttons_unseen;
    if (input.buttons_held_back) return;
    input.mouse_buttons = flags;
    if (flags != 0) input.buttons_unseen = true;
}

}  // namespace

void window_proc(InputState& input, const Message& message) {
    if (message.kind == MessageKind::Character)
        show_character(input, 1, message.character);
    else
        show_character(input, 0, 1);
    switch (message.kind) {
        case MessageKind::Timer:
            if (message.timer_id == CALIBRATION_TIMER_ID) input.timer_fired = 1;
            break;
        case MessageKind::MouseMove:
            input.mouse_x = message.x;
            input.mouse_y = message.y;
            break;
        case MessageKind::MouseButton: show_buttons(input, message.button_flags); break;
        case MessageKind::Character:
        case MessageKind::DoubleClick:
        case MessageKind::Quit:
        case MessageKind::Other:
            break;
    }
}

bool end_input_frame(InputState& input) {
    const bool changed = (input.char_held_back && (input.char_typed != 0 || input.last_char != 1)) ||
                         (input.buttons_held_back && input.mouse_buttons != 0);
    if (input.char_held_back) {
        input.char_typed = 0;
        input.last_char = 1;
    }
    if (input.buttons_held_back) input.mouse_buttons = 0;
    input.char_unseen = false;
    input.buttons_unseen = false;
    input.char_held_back = false;
    input.buttons_held_back = false;
    return changed;
}

}  // namespace qvar
