// The gamepad's meaning in each input mode: key states in a game, a pointer and clicks in the
// menus, Enter on the "press a key" pages, and arcade-style letters in the name entry.
#include "platform/pad_input.h"

#include <algorithm>
#include <cmath>
#include <string_view>

namespace qvar {

namespace {

constexpr std::string_view LETTERS = "abcdefghijklmnopqrstuvwxyz0123456789 ";
constexpr int NAME_LETTERS_MAX = 49;  // as the name entry keeps

uint16_t bit(PadButton b) { return static_cast<uint16_t>(1u << static_cast<unsigned>(b)); }
uint8_t key_bit(GameKey k) { return static_cast<uint8_t>(1u << static_cast<unsigned>(k)); }
// Held, and pressed since the last change of mode: a button still held from the menu does
// not fire in the game it started.
bool held(const PadInput& pad, PadButton b) { return (pad.held & ~pad.ignored & bit(b)) != 0; }

// Queues a message; a pointer move not yet taken is replaced by the newer one.
void push(PadInput& pad, const Message& m) {
    const int size = static_cast<int>(pad.queue.size());
    if (m.kind == MessageKind::MouseMove && pad.queue_count > 0) {
        Message& last = pad.queue[static_cast<size_t>((pad.queue_first + pad.queue_count - 1) % size)];
        if (last.kind == MessageKind::MouseMove) {
            last = m;
            return;
        }
    }
    if (pad.queue_count == size) return;
    pad.queue[static_cast<size_t>((pad.queue_first + pad.queue_count) % size)] = m;
    ++pad.queue_count;
}

// The name as the name entry changes it for character `c` (letters in lower case).
void follow_name(PadInput& pad, uint8_t c) {
    if (c >= 'A' && c <= 'Z') c = static_cast<uint8_t>(c - 'A' + 'a');
    if (c == 13) return;
    if (pad.name_length > 0 && c == 8) {
        --pad.name_length;
    } else if (pad.name_length < NAME_LETTERS_MAX) {
        pad.name[static_cast<size_t>(pad.name_length++)] = static_cast<char>(c);
    }
}

// A key that types `c`, pressed and let go: the messages a keyboard gives.
void type(PadInput& pad, uint8_t c) {
    Message character;
    character.kind = MessageKind::Character;
    character.character = c;
    push(pad, Message{});
    push(pad, character);
    push(pad, Message{});
    if (pad.mode == InputMode::Text) follow_name(pad, c);
}

void click(PadInput& pad, bool down) {
    pad.clicking = down;
    Message m;
    m.kind = MessageKind::MouseButton;
    m.button_flags = down ? MOUSE_LEFT : 0;
    push(pad, m);
}

// Up or down through a-z, 0-9 and space: the name's last letter changes (the first starts at a).
void step_letter(PadInput& pad, int step) {
    if (pad.name_length == 0) {
        type(pad, 'a');
        return;
    }
    const size_t at = LETTERS.find(pad.name[static_cast<size_t>(pad.name_length - 1)]);
    const int count = static_cast<int>(LETTERS.size());
    char next = step > 0 ? 'a' : ' ';
    if (at != std::string_view::npos) next = LETTERS[static_cast<size_t>((static_cast<int>(at) + step + count) % count)];
    type(pad, 8);
    type(pad, static_cast<uint8_t>(next));
}

// The eight keys the pad holds down in a game.
uint8_t game_keys(const PadInput& pad) {
    if (pad.mode != InputMode::Game) return 0;
    uint8_t keys = 0;
    auto set = [&keys](GameKey k, bool on) {
        if (on) keys = static_cast<uint8_t>(keys | key_bit(k));
    };
    set(GameKey::Left, held(pad, PadButton::Left) || pad.axes[0] < -PAD_DEAD_ZONE);
    set(GameKey::Right, held(pad, PadButton::Right) || pad.axes[0] > PAD_DEAD_ZONE);
    set(GameKey::Up, held(pad, PadButton::Up) || pad.axes[1] < -PAD_DEAD_ZONE);
    set(GameKey::Down, held(pad, PadButton::Down) || pad.axes[1] > PAD_DEAD_ZONE);
    set(GameKey::Space, held(pad, PadButton::A));
    set(GameKey::Control, held(pad, PadButton::X) || held(pad, PadButton::RightShoulder));
    set(GameKey::Q, pad.quit_held);
    return keys;
}

// Up (-1), down (+1) or neither as the stick and the d-pad say, for the name entry.
int vertical(const PadInput& pad) {
    if (held(pad, PadButton::Up) || pad.axes[1] < -PAD_DEAD_ZONE) return -1;
    if (held(pad, PadButton::Down) || pad.axes[1] > PAD_DEAD_ZONE) return 1;
    return 0;
}

// Starts or stops stepping letters when up or down is pushed or let go.
void follow_vertical(PadInput& pad, uint64_t now_ms) {
    const int step = pad.mode == InputMode::Text ? -vertical(pad) : 0;  // up goes forward: a, b, c ...
    if (step == pad.letter_step) return;
    pad.letter_step = step;
    if (step == 0) return;
    step_letter(pad, step);
    pad.next_letter_ms = now_ms + LETTER_REPEAT_DELAY_MS;
}

void press(PadInput& pad, PadButton button, uint64_t now_ms) {
    switch (pad.mode) {
        case InputMode::Game:
            if (button == PadButton::Start) {  // a tap of P, with the 'p' it types: pauses, and resumes a pause
                pad.keys_tapped = static_cast<uint8_t>(pad.keys_tapped | key_bit(GameKey::P));
                type(pad, 'p');
            }
            if (button == PadButton::Back) pad.back_since_ms = now_ms;
            break;
        case InputMode::Pointer:
            if (button == PadButton::A) click(pad, true);
            break;
        case InputMode::PressAnyKey:
            if (button == PadButton::A || button == PadButton::Start) type(pad, 13);
            break;
        case InputMode::Text:
            if (button == PadButton::A) type(pad, 'a');
            if (button == PadButton::B) type(pad, 8);
            if (button == PadButton::Start) type(pad, 13);
            break;
    }
}

// A click's button comes up whatever the mode is by then, as the mouse's does.
void let_go(PadInput& pad, PadButton button) {
    if (pad.clicking && button == PadButton::A) click(pad, false);
    if (button == PadButton::Back) pad.quit_held = false;
}

// The pointer's speed for a stick pushed `t` of the way past the dead zone (0 .. 1).
float pointer_speed(float t) { return POINTER_SLOWEST + (POINTER_FASTEST - POINTER_SLOWEST) * t * t; }

void move_pointer(PadInput& pad, float seconds) {
    const float sx = pad.axes[0], sy = pad.axes[1];
    const float length = std::sqrt(sx * sx + sy * sy);
    float vx = 0.0f, vy = 0.0f;
    if (length > PAD_DEAD_ZONE) {
        const float t = std::min(1.0f, (length - PAD_DEAD_ZONE) / (32767.0f - PAD_DEAD_ZONE));
        vx = sx / length * pointer_speed(t);
        vy = sy / length * pointer_speed(t);
    }
    vx += POINTER_DPAD * static_cast<float>(held(pad, PadButton::Right) - held(pad, PadButton::Left));
    vy += POINTER_DPAD * static_cast<float>(held(pad, PadButton::Down) - held(pad, PadButton::Up));
    pad.pointer_x = std::clamp(pad.pointer_x + vx * seconds, 0.0f, 319.99f);
    pad.pointer_y = std::clamp(pad.pointer_y + vy * seconds, 0.0f, 199.99f);
    const auto x = static_cast<uint16_t>(pad.pointer_x), y = static_cast<uint16_t>(pad.pointer_y);
    if (x == pad.shown_x && y == pad.shown_y) return;
    pad.shown_x = x;
    pad.shown_y = y;
    Message m;
    m.kind = MessageKind::MouseMove;
    m.x = x;
    m.y = y;
    push(pad, m);
}

void tap_new_keys(PadInput& pad, uint8_t before) {
    const uint8_t now = game_keys(pad);
    pad.keys_tapped = static_cast<uint8_t>(pad.keys_tapped | (now & ~before));
}

}  // namespace

void pad_button(PadInput& pad, PadButton button, bool down, uint64_t now_ms) {
    if (((pad.held & bit(button)) != 0) == down) return;
    const uint8_t before = game_keys(pad);
    pad.held = static_cast<uint16_t>(down ? (pad.held | bit(button)) : (pad.held & ~bit(button)));
    pad.ignored = static_cast<uint16_t>(pad.ignored & pad.held);
    if (down) press(pad, button, now_ms);
    else let_go(pad, button);
    tap_new_keys(pad, before);
    follow_vertical(pad, now_ms);
}

void pad_axis(PadInput& pad, PadAxis axis, int16_t value, uint64_t now_ms) {
    const uint8_t before = game_keys(pad);
    pad.axes[static_cast<size_t>(axis)] = value;
    tap_new_keys(pad, before);
    follow_vertical(pad, now_ms);
}

void pad_release_all(PadInput& pad, uint64_t now_ms) {
    for (int b = 0; b < PAD_BUTTON_COUNT; ++b) pad_button(pad, static_cast<PadButton>(b), false, now_ms);
    pad_axis(pad, PadAxis::LeftX, 0, now_ms);
    pad_axis(pad, PadAxis::LeftY, 0, now_ms);
}

void pad_set_mode(PadInput& pad, InputMode mode) {
    if (mode == pad.mode) return;
    pad.mode = mode;
    pad.ignored = pad.held;
    pad.quit_held = false;
    pad.name_length = 0;
    pad.letter_step = 0;
}

void pad_saw_message(PadInput& pad, const Message& message) {
    if (message.kind == MessageKind::MouseMove) {
        pad.shown_x = message.x;
        pad.shown_y = message.y;
        pad.pointer_x = message.x + 0.5f;
        pad.pointer_y = message.y + 0.5f;
    }
    if (message.kind == MessageKind::Character && pad.mode == InputMode::Text) follow_name(pad, message.character);
}

void pad_tick(PadInput& pad, uint64_t now_ms) {
    const uint64_t elapsed = pad.last_tick_ms == 0 ? 0 : std::min<uint64_t>(now_ms - pad.last_tick_ms, 100);
    pad.last_tick_ms = now_ms;
    if (pad.mode == InputMode::Pointer) move_pointer(pad, static_cast<float>(elapsed) / 1000.0f);
    if (pad.mode == InputMode::Game && held(pad, PadButton::Back) && now_ms - pad.back_since_ms >= BACK_HOLD_MS)
        pad.quit_held = true;
    if (pad.letter_step != 0 && now_ms >= pad.next_letter_ms) {
        step_letter(pad, pad.letter_step);
        pad.next_letter_ms = now_ms + LETTER_REPEAT_MS;
    }
}

bool pad_next_message(PadInput& pad, Message& out) {
    if (pad.queue_count == 0) return false;
    out = pad.queue[static_cast<size_t>(pad.queue_first)];
    pad.queue_first = (pad.queue_first + 1) % static_cast<int>(pad.queue.size());
    --pad.queue_count;
    return true;
}

bool pad_key_down(const PadInput& pad, GameKey key) {
    return ((game_keys(pad) | pad.keys_tapped) & key_bit(key)) != 0;
}

void pad_frame_shown(PadInput& pad) { pad.keys_tapped = 0; }

bool pad_busy(const PadInput& pad) {
    if (pad.letter_step != 0) return true;
    if (pad.mode != InputMode::Pointer) return false;
    const bool dpad = (pad.held & ~pad.ignored & (bit(PadButton::Up) | bit(PadButton::Down) | bit(PadButton::Left) | bit(PadButton::Right))) != 0;
    const float sx = pad.axes[0], sy = pad.axes[1];
    return dpad || sx * sx + sy * sy > float(PAD_DEAD_ZONE) * float(PAD_DEAD_ZONE);
}

}  // namespace qvar
