// The window procedure's rules for the shared input state.
#include <gtest/gtest.h>

#include "platform/input.h"

using namespace qvar;

namespace {

Message of(MessageKind kind) {
    Message m;
    m.kind = kind;
    return m;
}

Message typed(uint8_t c) {
    Message m = of(MessageKind::Character);
    m.character = c;
    return m;
}

}  // namespace

TEST(WindowProc, EveryMessageThatIsNotACharacterClearsTheTypedCharacter) {
    const MessageKind others[] = {MessageKind::Timer, MessageKind::MouseMove, MessageKind::MouseButton,
                                  MessageKind::DoubleClick, MessageKind::Other};
    for (MessageKind kind : others) {
        InputState in;
        window_proc(in, typed('x'));
        ASSERT_EQ(in.char_typed, 1);
        ASSERT_EQ(in.last_char, 'x');
        window_proc(in, of(kind));
        EXPECT_EQ(in.char_typed, 0) << static_cast<int>(kind);
        EXPECT_EQ(in.last_char, 1) << static_cast<int>(kind);
    }
    InputState in;
    window_proc(in, typed('a'));
    window_proc(in, typed(13));  // a character replaces the one before
    EXPECT_EQ(in.char_typed, 1);
    EXPECT_EQ(in.last_char, 13);
}

TEST(WindowProc, OnlyMovesMoveTheMouseAndButtonsKeepTheWholeFlagWord) {
    InputState in;
    Message move = of(MessageKind::MouseMove);
    move.x = 319;
    move.y = 199;
    window_proc(in, move);
    Message button = of(MessageKind::MouseButton);
    button.x = 5;  // a stray position on a button message must not be used
    button.y = 6;
    button.button_flags = MOUSE_LEFT | MOUSE_SHIFT;
    window_proc(in, button);
    EXPECT_EQ(in.mouse_x, 319);
    EXPECT_EQ(in.mouse_y, 199);
    EXPECT_EQ(in.mouse_buttons, MOUSE_LEFT | MOUSE_SHIFT);
    button.button_flags = MOUSE_CONTROL;  // released with Ctrl held: still nonzero
    window_proc(in, button);
    EXPECT_EQ(in.mouse_buttons, MOUSE_CONTROL);
    window_proc(in, of(MessageKind::DoubleClick));  // the second press of a double click
    EXPECT_EQ(in.mouse_buttons, MOUSE_CONTROL);
}

TEST(WindowProc, OnlyTheCalibrationTimerSetsTimerFired) {
    InputState in;
    Message tick = of(MessageKind::Timer);
    tick.timer_id = 41;
    window_proc(in, tick);
    EXPECT_EQ(in.timer_fired, 0);
    tick.timer_id = CALIBRATION_TIMER_ID;
    window_proc(in, tick);
    EXPECT_EQ(in.timer_fired, 1);
}
