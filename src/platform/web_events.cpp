// The browser's keyboard, mouse and focus events as the game's messages, as the SDL backend
// makes them from SDL's: a key press is a message (and a character when it types one), a
// button message carries the buttons held with Shift and Ctrl, a quick second left press is
// the double-click message.
#include <emscripten/html5.h>

#include <cstring>
#include <string_view>

#include "platform/web_backend.h"
#include "platform/web_browser.h"

namespace qvar {

namespace {

constexpr double DOUBLE_CLICK_MS = 500.0;  // SDL's and most desktops' default

struct TrackedKey {
    std::string_view code;  // KeyboardEvent.code: the key's place, whatever the layout
    GameKey key;
};
constexpr TrackedKey TRACKED_KEYS[] = {
    {"Space", GameKey::Space},    {"ControlLeft", GameKey::Control}, {"ControlRight", GameKey::Control},
    {"ArrowLeft", GameKey::Left}, {"ArrowUp", GameKey::Up},          {"ArrowRight", GameKey::Right},
    {"ArrowDown", GameKey::Down}, {"KeyP", GameKey::P},              {"KeyQ", GameKey::Q},
};

bool tracked_key(std::string_view code, GameKey& key) {
    for (const TrackedKey& k : TRACKED_KEYS) {
        if (k.code != code) continue;
        key = k.key;
        return true;
    }
    return false;
}

// The character a key press types: printable ASCII, Enter, Backspace and Escape (their
// repeats type again, as held keys do); 0 for none. Shortcuts with Ctrl, Alt or Meta type
// nothing, so the browser keeps them.
uint8_t typed_character(const EmscriptenKeyboardEvent& e) {
    if (e.ctrlKey || e.altKey || e.metaKey) return 0;
    const std::string_view key = e.key;
    if (key == "Enter") return 13;
    if (key == "Backspace") return 8;
    if (key == "Escape") return 27;
    if (key.size() == 1 && key[0] >= 32 && key[0] <= 126) return static_cast<uint8_t>(key[0]);
    return 0;
}

Message kind_only(MessageKind kind) {
    Message m;
    m.kind = kind;
    return m;
}

EM_BOOL on_key(int type, const EmscriptenKeyboardEvent* e, void* user) {
    auto& p = *static_cast<WebPlatform*>(user);
    const bool down = type == EMSCRIPTEN_EVENT_KEYDOWN;
    p.control_held = e->ctrlKey;
    p.shift_held = e->shiftKey;
    if (down && e->altKey && std::strcmp(e->key, "Enter") == 0) return EM_FALSE;  // the page's full screen
    GameKey key = GameKey::Space;
    const bool tracked = tracked_key(e->code, key);
    if (tracked) p.set_key(key, down);
    p.post(kind_only(MessageKind::Other));
    const uint8_t c = down ? typed_character(*e) : 0;
    if (c != 0) {
        Message m;
        m.kind = MessageKind::Character;
        m.character = c;
        p.post(m);
    }
    return tracked || c != 0;  // the game's keys do not scroll the page or open its find bar
}

Message button_message(const WebPlatform& p) {
    Message m;
    m.kind = MessageKind::MouseButton;
    m.button_flags = p.buttons;
    if (p.shift_held) m.button_flags |= MOUSE_SHIFT;
    if (p.control_held) m.button_flags |= MOUSE_CONTROL;
    return m;
}

uint32_t button_bit(unsigned short button) {
    switch (button) {
        case 0: return MOUSE_LEFT;
        case 2: return MOUSE_RIGHT;
        default: return 0;
    }
}

// A left press soon after the previous one is a double click on every second press.
bool second_left_press(WebPlatform& p, double now) {
    p.left_presses = now - p.last_left_press_ms <= DOUBLE_CLICK_MS ? p.left_presses + 1 : 1;
    p.last_left_press_ms = now;
    return p.left_presses % 2 == 0;
}

EM_BOOL on_button(int type, const EmscriptenMouseEvent* e, void* user) {
    auto& p = *static_cast<WebPlatform*>(user);
    const uint32_t bit = button_bit(e->button);
    const bool down = type == EMSCRIPTEN_EVENT_MOUSEDOWN;
    if (bit == 0 || (!down && (p.buttons & bit) == 0)) return EM_FALSE;
    p.control_held = e->ctrlKey;
    p.shift_held = e->shiftKey;
    p.buttons = down ? (p.buttons | bit) : (p.buttons & ~bit);
    if (down && bit == MOUSE_LEFT && second_left_press(p, web::now_ms()))
        p.post(kind_only(MessageKind::DoubleClick));
    else
        p.post(button_message(p));
    return EM_TRUE;
}

// Off the picture the pointer is the page's, as it is the desktop's outside a window: the
// game sees it move there only while a button that was pressed on the picture is held.
EM_BOOL on_move(int, const EmscriptenMouseEvent* e, void* user) {
    auto& p = *static_cast<WebPlatform*>(user);
    const uint32_t point = web::field_point(static_cast<double>(e->clientX), static_cast<double>(e->clientY));
    if ((point & web::FIELD_OUTSIDE) != 0 && p.buttons == 0) return EM_FALSE;
    Message m;
    m.kind = MessageKind::MouseMove;
    m.x = static_cast<uint16_t>((point >> 16) & 0x7FFFu);
    m.y = static_cast<uint16_t>(point & 0xFFFFu);
    p.post(m);
    return EM_FALSE;
}

// Keys held when the page loses the focus never see their release: they are let go, as SDL
// does when its window loses the keyboard.
EM_BOOL on_blur(int, const EmscriptenFocusEvent*, void* user) {
    static_cast<WebPlatform*>(user)->release_all_keys();
    return EM_FALSE;
}

}  // namespace

void WebPlatform::register_events(bool on) {
    const char* const window = EMSCRIPTEN_EVENT_TARGET_WINDOW;
    const char* const canvas = "#screen";
    void* const self = on ? this : nullptr;
    emscripten_set_keydown_callback(window, self, EM_TRUE, on ? on_key : nullptr);
    emscripten_set_keyup_callback(window, self, EM_TRUE, on ? on_key : nullptr);
    emscripten_set_mousedown_callback(canvas, self, EM_TRUE, on ? on_button : nullptr);
    emscripten_set_mouseup_callback(window, self, EM_TRUE, on ? on_button : nullptr);
    emscripten_set_mousemove_callback(window, self, EM_TRUE, on ? on_move : nullptr);
    emscripten_set_blur_callback(window, self, EM_TRUE, on ? on_blur : nullptr);
}

}  // namespace qvar
