// SDL events as the game's messages, the timer, the wait and the key state.
#include "platform/sdl_backend.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace qvar {

namespace {

constexpr uint64_t PAD_LOOK_US = 20000;  // a pad's press is seen within this while waiting
constexpr uint64_t PAD_TICK_US = 10000;  // the pointer and the letters step this often

Message kind_only(MessageKind kind) {
    Message m;
    m.kind = kind;
    return m;
}

Message character(uint8_t c) {
    Message m;
    m.kind = MessageKind::Character;
    m.character = c;
    return m;
}

// Enter, Backspace and Escape type control characters, as the system's key translation
// would; their repeats while held type again.
Message key_down(const SDL_KeyboardEvent& key) {
    switch (key.keysym.sym) {
        case SDLK_RETURN:
        case SDLK_KP_ENTER: return character(13);
        case SDLK_BACKSPACE: return character(8);
        case SDLK_ESCAPE: return character(27);
        default: return kind_only(MessageKind::Other);
    }
}

// Keeps the printable ASCII characters of a text event; the first is returned.
Message text_input(const SDL_TextInputEvent& text, SdlEventState& state) {
    state.text_next = 0;
    state.text_count = 0;
    for (size_t i = 0; i < sizeof text.text && text.text[i] != '\0'; ++i) {
        const auto c = static_cast<uint8_t>(text.text[i]);
        if (c >= 32 && c <= 126 && state.text_count < state.text.size()) state.text[state.text_count++] = c;
    }
    if (state.text_count == 0) return kind_only(MessageKind::Other);
    state.text_next = 1;
    return character(state.text[0]);
}

uint32_t button_bit(uint8_t button) {
    switch (button) {
        case SDL_BUTTON_LEFT: return MOUSE_LEFT;
        case SDL_BUTTON_RIGHT: return MOUSE_RIGHT;
        case SDL_BUTTON_MIDDLE: return MOUSE_MIDDLE;
        default: return 0;
    }
}

// The flag word of a button message: the buttons held after it (a gamepad's click too),
// Shift and Ctrl.
Message button_message(const SdlEventState& state) {
    Message m;
    m.kind = MessageKind::MouseButton;
    m.button_flags = state.buttons | state.pad_buttons;
    if ((state.modifiers & KMOD_SHIFT) != 0) m.button_flags |= MOUSE_SHIFT;
    if ((state.modifiers & KMOD_CTRL) != 0) m.button_flags |= MOUSE_CONTROL;
    return m;
}

// The message for a mouse button event: the buttons held after it, Shift and Ctrl.
// A second press of a double click (and the fourth, ...) is the double-click message, which
// changes nothing; the right button's double click and the middle button are ignored alike.
Message mouse_button(const SDL_MouseButtonEvent& ev, SdlEventState& state) {
    const uint32_t bit = button_bit(ev.button);
    const bool down = ev.type == SDL_MOUSEBUTTONDOWN;
    state.buttons = down ? (state.buttons | bit) : (state.buttons & ~bit);
    const bool second_press = down && ev.clicks >= 2 && ev.clicks % 2 == 0;
    if (bit == MOUSE_LEFT && second_press) return kind_only(MessageKind::DoubleClick);
    if (bit != MOUSE_LEFT && bit != MOUSE_RIGHT) return kind_only(MessageKind::Other);
    if (bit == MOUSE_RIGHT && second_press) return kind_only(MessageKind::Other);
    return button_message(state);
}

// Window coordinates become play-field ones through the picture's place; outside the
// picture (the letterbox bars) they are clamped to its edge.
Message mouse_move(const SDL_MouseMotionEvent& ev, const PicturePlace& place) {
    Message m;
    m.kind = MessageKind::MouseMove;
    if (place.four_three)
        four_three_to_field(place.plan, ev.x, ev.y, m.x, m.y);
    else
        target_to_field(place.fit, ev.x, ev.y, m.x, m.y);
    return m;
}

uint16_t game_key_bit(GameKey key) { return static_cast<uint16_t>(1u << static_cast<unsigned>(key)); }

// The bound keys follow the key events: held from the press to the release, tapped by a press.
void track_key(const SDL_KeyboardEvent& ev, SdlEventState& state) {
    for (BoundKey& bound : state.bound) {
        if (bound.key != ev.keysym.sym) continue;
        bound.held = ev.type == SDL_KEYDOWN;
        if (bound.held) state.keys_tapped = static_cast<uint16_t>(state.keys_tapped | game_key_bit(bound.action));
    }
}

}  // namespace

std::vector<BoundKey> bind_keys(const KeyNames& names) {
    const KeyNames defaults = default_key_names();
    std::vector<BoundKey> bound;
    for (size_t action = 0; action < names.size(); ++action) {
        const size_t before = bound.size();
        for (const std::string& name : names[action])
            if (sdl_keycode_of(name) != SDLK_UNKNOWN) bound.push_back({sdl_keycode_of(name), static_cast<GameKey>(action)});
        if (bound.size() > before) continue;
        for (const std::string& name : defaults[action])
            bound.push_back({sdl_keycode_of(name), static_cast<GameKey>(action)});
    }
    return bound;
}

bool game_key_down(const SdlEventState& state, GameKey key) {
    if ((state.keys_tapped & game_key_bit(key)) != 0) return true;
    for (const BoundKey& bound : state.bound)
        if (bound.action == key && bound.held) return true;
    return false;
}

WindowKey window_key(const SDL_Event& event) {
    if (event.type != SDL_KEYDOWN || event.key.repeat != 0) return WindowKey::Plain;
    const SDL_Keycode key = event.key.keysym.sym;
    const bool alt = (event.key.keysym.mod & KMOD_ALT) != 0;
    if (key == SDLK_F11 || (alt && (key == SDLK_RETURN || key == SDLK_KP_ENTER))) return WindowKey::ToggleFullscreen;
    if (key == SDLK_F12) return WindowKey::Screenshot;
    return WindowKey::Plain;
}

Message translate_sdl_event(const SDL_Event& event, SdlEventState& state) {
    if (event.type == SDL_KEYDOWN || event.type == SDL_KEYUP) {
        state.modifiers = event.key.keysym.mod;
        track_key(event.key, state);
    }
    switch (event.type) {
        case SDL_QUIT: return kind_only(MessageKind::Quit);
        case SDL_WINDOWEVENT:
            return kind_only(event.window.event == SDL_WINDOWEVENT_CLOSE ? MessageKind::Quit : MessageKind::Other);
        case SDL_KEYDOWN: return key_down(event.key);
        case SDL_TEXTINPUT: return text_input(event.text, state);
        case SDL_MOUSEMOTION: return mouse_move(event.motion, state.place);
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: return mouse_button(event.button, state);
        default: return kind_only(MessageKind::Other);
    }
}

bool SdlPlatform::poll_message(Message& out) {
    if (events_.text_next < events_.text_count) {
        out = character(events_.text[events_.text_next++]);
        pad_saw_message(pad_, out);
        return true;
    }
    pad_tick(pad_, SDL_GetTicks64());
    if (pad_message(out) || take_sdl_event(out)) return true;
    return take_tick(timer_, SDL_GetTicks64(), out);  // only when nothing else is waiting
}

// The gamepad's next message; a click carries the mouse's buttons with it, as the mouse's
// carry the pad's.
bool SdlPlatform::pad_message(Message& out) {
    if (!pad_next_message(pad_, out)) return false;
    if (out.kind == MessageKind::MouseButton) {
        events_.pad_buttons = out.button_flags & MOUSE_LEFT;
        out = button_message(events_);
    }
    return true;
}

// The next SDL event as a message. Controller events become the pad's messages, if any; the
// window's own keys act and reach the game as a plain key message.
bool SdlPlatform::take_sdl_event(Message& out) {
    SDL_Event event;
    while (video_started_ && SDL_PollEvent(&event) != 0) {
        if (event.type == SDL_RENDER_DEVICE_RESET || event.type == SDL_RENDER_TARGETS_RESET) texture_lost_ = true;
        if (pads_.handle(event, pad_, SDL_GetTicks64())) {
            if (pad_message(out)) return true;
            continue;
        }
        if (event.type == SDL_WINDOWEVENT) window_event(event.window);
        out = translate_sdl_event(event, events_);
        const WindowKey key = window_key(event);
        if (key != WindowKey::Plain) {
            window_key_pressed(key);
            out = kind_only(MessageKind::Other);  // Alt+Enter types no Enter
        }
        pad_saw_message(pad_, out);
        return true;
    }
    return false;
}

uint64_t SdlPlatform::now_us() {
    using namespace std::chrono;
    return static_cast<uint64_t>(duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count());
}

void SdlPlatform::wait_message(uint32_t timeout_ms) { wait_message_us(uint64_t{timeout_ms} * 1000); }

bool SdlPlatform::wait_message_us(uint64_t timeout_us) {
    if (events_.text_next < events_.text_count || pad_.queue_count > 0) return true;
    uint64_t wait = timeout_us;
    // A pad's events do not come over the window's connection: look again soon while one is
    // plugged in, and often while it moves the pointer or steps letters.
    if (pads_.connected()) wait = std::min<uint64_t>(wait, pad_busy(pad_) ? PAD_TICK_US : PAD_LOOK_US);
    const uint64_t tick_ms = ms_to_next_tick(timer_, SDL_GetTicks64());
    if (tick_ms != UINT64_MAX) wait = std::min<uint64_t>(wait, tick_ms * 1000);
    if (wait == 0) return true;
    if (!video_started_) {
        std::this_thread::sleep_for(std::chrono::microseconds(wait));
        return true;
    }
    // On X11, SDL's own wait has every event that arrives during it wake the program by a
    // message sent to the window over a second connection. When that event is the window's
    // close, the window is destroyed at once and the server may see the destruction first:
    // the message then fails, and the error, read when SDL closes that connection, ends the
    // process with status 1 instead of 0. Waiting on the connection itself sends nothing.
    // The queue was emptied by the poll that came before, so nothing waits unseen.
    if (x11_socket_ >= 0) return wait_readable(x11_socket_, wait) || wait < timeout_us;
    // SDL's own wait counts whole milliseconds: it sleeps those, the rest is slept apart.
    if (wait >= 1000)
        SDL_WaitEventTimeout(nullptr, static_cast<int>(std::min<uint64_t>(wait / 1000, INT32_MAX)));
    else
        std::this_thread::sleep_for(std::chrono::microseconds(wait));
    return true;
}

void SdlPlatform::start_timer(int32_t id, uint32_t period_ms) {
    start_ticks(timer_, id, period_ms, SDL_GetTicks64());
}

bool SdlPlatform::key_down(GameKey key) { return game_key_down(events_, key) || pad_key_down(pad_, key); }

void SdlPlatform::set_input_mode(InputMode mode) {
    input_mode_ = mode;
    pad_set_mode(pad_, mode);
}

}  // namespace qvar
