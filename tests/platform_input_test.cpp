// The window procedure's rules for the shared input state.
#include <gtest/gtest.h>

#include "platform/input.h"

using namespace qvar;

namespace {

Message msg(MessageKind kind, uint8_t character = 0, uint32_t flags = 0, int32_t timer = 0) {
    Message m;
    m.kind = kind;
    m.character = character;
    m.button_flags = flags;
    m.timer_id = timer;
    m.x = 5;  // a stray position: only a move may use it
    m.y = 6;
    return m;
}

}  // namespace

TEST(WindowProc, EveryMessageThatIsNotACharacterClearsTheTypedCharacter) {
    using K = MessageKind;
    for (MessageKind kind : {K::Timer, K::MouseMove, K::MouseButton, K::DoubleClick, K::Other}) {
        SCOPED_TRACE(int(kind));
        InputState in;
        window_proc(in, msg(K::Character, 'x'));
        ASSERT_EQ(in.last_char, 'x');
        window_proc(in, msg(kind));
        EXPECT_EQ(in.char_typed, 0);
        EXPECT_EQ(in.last_char, 1);
    }
    InputState in;
    window_proc(in, msg(K::Character, 'a'));
    window_proc(in, msg(K::Character, 13));  // a character replaces the one before
    EXPECT_EQ(in.char_typed, 1);
    EXPECT_EQ(in.last_char, 13);
}

TEST(WindowProc, OnlyMovesMoveTheMouseAndOnlyTimer42Fires) {
    using K = MessageKind;
    InputState in;
    Message move = msg(K::MouseMove);
    move.x = 319;
    move.y = 199;
    window_proc(in, move);
    window_proc(in, msg(K::MouseButton, 0, MOUSE_LEFT | MOUSE_SHIFT));
    EXPECT_EQ(in.mouse_x, 319);
    EXPECT_EQ(in.mouse_y, 199);
    EXPECT_EQ(in.mouse_buttons, MOUSE_LEFT | MOUSE_SHIFT);  // the whole flag word is kept
    window_proc(in, msg(K::MouseButton, 0, MOUSE_CONTROL));  // released with Ctrl held: still nonzero
    window_proc(in, msg(K::DoubleClick));  // the second press of a double click changes nothing
    EXPECT_EQ(in.mouse_buttons, MOUSE_CONTROL);
    window_proc(in, msg(K::Timer, 0, 0, 41));
    EXPECT_EQ(in.timer_fired, 0);
    window_proc(in, msg(K::Timer, 0, 0, CALIBRATION_TIMER_ID));
    EXPECT_EQ(in.timer_fired, 1);
}
