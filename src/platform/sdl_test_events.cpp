// Synthetic SDL events for the backend's tests: they go through SDL's queue and the
// renderer's coordinate mapping exactly as the system's own events do.
#include <cstring>

#include "platform/sdl_backend.h"

namespace qvar {

namespace {

SDL_Scancode scancode(int key) {
    switch (key) {
        case 13: return SDL_SCANCODE_RETURN;
        case 8: return SDL_SCANCODE_BACKSPACE;
        case 27: return SDL_SCANCODE_ESCAPE;
        case 32: return SDL_SCANCODE_SPACE;
        default: return SDL_SCANCODE_A;
    }
}

uint8_t window_event_of(SdlTestEvent::Type type) {
    switch (type) {
        case SdlTestEvent::Type::FocusLost: return SDL_WINDOWEVENT_FOCUS_LOST;
        case SdlTestEvent::Type::FocusGained: return SDL_WINDOWEVENT_FOCUS_GAINED;
        case SdlTestEvent::Type::Minimized: return SDL_WINDOWEVENT_MINIMIZED;
        case SdlTestEvent::Type::Restored: return SDL_WINDOWEVENT_RESTORED;
        default: return SDL_WINDOWEVENT_CLOSE;
    }
}

SDL_Event make_event(const SdlTestEvent& e, uint32_t window_id) {
    SDL_Event ev;
    std::memset(&ev, 0, sizeof ev);
    using T = SdlTestEvent::Type;
    switch (e.type) {
        case T::Text:
            ev.type = SDL_TEXTINPUT;
            ev.text.windowID = window_id;
            std::strncpy(ev.text.text, e.text.c_str(), sizeof ev.text.text - 1);
            break;
        case T::KeyDown:
        case T::KeyUp:
            ev.type = e.type == T::KeyDown ? SDL_KEYDOWN : SDL_KEYUP;
            ev.key.windowID = window_id;
            ev.key.state = e.type == T::KeyDown ? SDL_PRESSED : SDL_RELEASED;
            ev.key.repeat = e.repeat ? 1 : 0;
            ev.key.keysym.scancode = scancode(e.key);
            ev.key.keysym.sym = SDL_GetKeyFromScancode(ev.key.keysym.scancode);
            if (!e.key_name.empty()) {
                ev.key.keysym.sym = sdl_keycode_of(e.key_name);
                ev.key.keysym.scancode = SDL_GetScancodeFromKey(ev.key.keysym.sym);
            }
            ev.key.keysym.mod =
                static_cast<uint16_t>((e.shift ? KMOD_LSHIFT : 0) | (e.ctrl ? KMOD_LCTRL : 0) | (e.alt ? KMOD_LALT : 0));
            break;
        case T::ButtonDown:
        case T::ButtonUp:
            ev.type = e.type == T::ButtonDown ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
            ev.button.windowID = window_id;
            ev.button.button = static_cast<uint8_t>(e.button);
            ev.button.state = e.type == T::ButtonDown ? SDL_PRESSED : SDL_RELEASED;
            ev.button.clicks = static_cast<uint8_t>(e.clicks);
            break;
        case T::Motion:
            ev.type = SDL_MOUSEMOTION;
            ev.motion.windowID = window_id;
            ev.motion.x = e.x;
            ev.motion.y = e.y;
            break;
        case T::Close:
        case T::FocusLost:
        case T::FocusGained:
        case T::Minimized:
        case T::Restored:
            ev.type = SDL_WINDOWEVENT;
            ev.window.windowID = window_id;
            ev.window.event = window_event_of(e.type);
            break;
        case T::Other: ev.type = SDL_USEREVENT; break;
    }
    return ev;
}

}  // namespace

bool SdlPlatform::push_test_event(const SdlTestEvent& e) {
    if (window_ == nullptr) return false;
    SDL_Event ev = make_event(e, SDL_GetWindowID(window_));
    return SDL_PushEvent(&ev) == 1;
}

bool sdl_push_test_event(Platform& platform, const SdlTestEvent& event) {
    auto* sdl = dynamic_cast<SdlPlatform*>(&platform);
    return sdl != nullptr && sdl->push_test_event(event);
}

int sdl_window_scale(Platform& platform) {
    auto* sdl = dynamic_cast<SdlPlatform*>(&platform);
    return sdl != nullptr ? sdl->scale() : 0;
}

}  // namespace qvar

namespace qvar {

void SdlPlatform::resize_window(int width, int height) {
    if (window_ != nullptr) SDL_SetWindowSize(window_, width, height);
}

void sdl_resize_test_window(Platform& platform, int width, int height) {
    if (auto* sdl = dynamic_cast<SdlPlatform*>(&platform)) sdl->resize_window(width, height);
}

SdlWindowState sdl_window_state(Platform& platform) {
    auto* sdl = dynamic_cast<SdlPlatform*>(&platform);
    return sdl != nullptr ? sdl->window_state() : SdlWindowState{};
}

}  // namespace qvar
