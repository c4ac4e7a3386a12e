// The gamepad's translation on its own: the pointer's speed and dead zone, the letters'
// cycle in the name entry, and buttons held across a change of mode.
#include <gtest/gtest.h>

#include <string>

#include "platform/pad_input.h"

using namespace qvar;

namespace {

// The characters the pad typed, Backspace as '<', Enter as '|'.
std::string typed(PadInput& pad) {
    std::string s;
    for (Message m; pad_next_message(pad, m);)
        if (m.kind == MessageKind::Character) s += m.character == 8 ? '<' : m.character == 13 ? '|' : char(m.character);
    return s;
}

// Where the pointer is after the stick is held at `x` for a second, from the middle.
int pointer_after_a_second(int16_t x) {
    PadInput pad;
    pad_saw_message(pad, Message{.kind = MessageKind::MouseMove, .x = 100, .y = 100});
    pad_tick(pad, 1000);
    pad_axis(pad, PadAxis::LeftX, x, 1000);
    for (uint64_t t = 1010; t <= 2000; t += 10) pad_tick(pad, t);
    int last = 100;
    for (Message m; pad_next_message(pad, m);)
        if (m.kind == MessageKind::MouseMove) last = m.x;
    return last;
}

}  // namespace

TEST(Pad, ThePointerRestsInTheDeadZoneAndMovesFasterTheFurtherTheStickIsPushed) {
    EXPECT_EQ(pointer_after_a_second(PAD_DEAD_ZONE - 1), 100);
    const int slow = pointer_after_a_second(12000), middle = pointer_after_a_second(20000);
    EXPECT_GT(slow, 100 + 20);
    EXPECT_GT(middle, slow);
    EXPECT_EQ(pointer_after_a_second(32767), 319);  // all the way: across the field within the second
    EXPECT_LT(pointer_after_a_second(-20000), 100);
}

TEST(Pad, NameEntryLettersCycleThroughLettersDigitsAndSpace) {
    PadInput pad;
    pad_set_mode(pad, InputMode::Text);
    pad_button(pad, PadButton::Down, true, 10);  // the first letter starts at a
    pad_button(pad, PadButton::Down, false, 20);
    pad_button(pad, PadButton::Down, true, 30);  // down from a: space, the last of the cycle
    pad_button(pad, PadButton::Down, false, 40);
    pad_button(pad, PadButton::Up, true, 50);  // up from space: a again; held, it repeats
    for (uint64_t t = 60; t <= 50 + LETTER_REPEAT_DELAY_MS + LETTER_REPEAT_MS; t += 10) pad_tick(pad, t);
    pad_button(pad, PadButton::Up, false, 600);
    pad_button(pad, PadButton::A, true, 610);  // the next letter
    pad_button(pad, PadButton::B, true, 620);  // deleted again
    pad_button(pad, PadButton::Start, true, 630);
    EXPECT_EQ(typed(pad), "a< <a<b<ca<|");
    pad_saw_message(pad, Message{.kind = MessageKind::Character, .character = 'Z'});  // the keyboard types too
    pad_button(pad, PadButton::Up, true, 700);
    EXPECT_EQ(typed(pad), "<0");
}

TEST(Pad, AButtonHeldAcrossAChangeOfModeCountsOnlyOnceLetGoAndPressedAgain) {
    PadInput pad;
    pad_button(pad, PadButton::A, true, 10);  // clicks Start in the menu
    pad_set_mode(pad, InputMode::Game);
    EXPECT_FALSE(pad_key_down(pad, GameKey::Space));
    pad_button(pad, PadButton::A, false, 20);  // the click's button still comes up
    Message m;
    int ups = 0;
    while (pad_next_message(pad, m)) ups += m.kind == MessageKind::MouseButton && m.button_flags == 0;
    EXPECT_EQ(ups, 1);
    pad_button(pad, PadButton::A, true, 30);
    pad_button(pad, PadButton::A, false, 35);  // a tap within one frame
    EXPECT_TRUE(pad_key_down(pad, GameKey::Space));
    pad_frame_shown(pad);
    EXPECT_FALSE(pad_key_down(pad, GameKey::Space));
    pad_axis(pad, PadAxis::LeftX, 20000, 40);  // the stick turns (left and the dead zone: SdlPad)
    EXPECT_TRUE(pad_key_down(pad, GameKey::Right));
}
