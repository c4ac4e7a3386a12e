// The SDL backend's window: its size and place (remembered between runs), full screen at
// Alt+Enter or F11, free resizing, losing the focus, being minimised, and F12's screenshots.
#include <algorithm>
#include <cstdio>
#include <ctime>

#include "platform/screenshot.h"
#include "platform/sdl_backend.h"

namespace qvar {

namespace {

constexpr int FIELD_W = 320;
constexpr int FIELD_H = 200;
constexpr const char* WINDOW_TITLE = "QVAR Game Console";
// A window manager may take the focus away for a moment while the window goes into or out
// of full screen; that is not the player going away.
constexpr uint64_t TOGGLE_FOCUS_GRACE_MS = 500;

bool fullscreen_now(SDL_Window* window) {
    return (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN_DESKTOP) == SDL_WINDOW_FULLSCREEN_DESKTOP;
}

// True when some of the rectangle lies on a display, so that a window put there can be seen.
bool on_a_display(int x, int y, int w, int h) {
    const SDL_Rect window{x, y, w, h};
    for (int i = 0; i < SDL_GetNumVideoDisplays(); ++i) {
        SDL_Rect bounds{}, common{};
        if (SDL_GetDisplayBounds(i, &bounds) == 0 && SDL_IntersectRect(&window, &bounds, &common) == SDL_TRUE &&
            common.w >= 64 && common.h >= 64)
            return true;
    }
    return false;
}

}  // namespace

// The largest whole factor at which a window of that unit size fits the usable desktop.
int SdlPlatform::fitting_scale(int unit_w, int unit_h) const {
    SDL_Rect usable{0, 0, unit_w, unit_h};
    if (SDL_GetDisplayUsableBounds(0, &usable) != 0) return 1;
    return std::max(1, std::min(usable.w / unit_w, usable.h / unit_h));
}

// The window's size and place: the scale asked for; else the size and place it had when the
// game last ended; else the largest whole factor that fits, centred.
bool SdlPlatform::create_window(std::string& error) {
    const bool full = options_.fullscreen;
    const int unit_w = FIELD_W, unit_h = options_.four_three ? 240 : FIELD_H;
    const bool remembered = options_.scale == 0 && options_.window_width >= unit_w && options_.window_height >= unit_h;
    scale_ = options_.scale > 0 ? options_.scale : fitting_scale(unit_w, unit_h);
    const int w = remembered ? options_.window_width : unit_w * scale_;
    const int h = remembered ? options_.window_height : unit_h * scale_;
    if (remembered) scale_ = std::max(1, std::min(w / unit_w, h / unit_h));
    const bool placed = options_.window_placed && on_a_display(options_.window_x, options_.window_y, w, h);
    const int x = placed ? options_.window_x : static_cast<int>(SDL_WINDOWPOS_CENTERED);
    const int y = placed ? options_.window_y : static_cast<int>(SDL_WINDOWPOS_CENTERED);
    const uint32_t flags = SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE |
                           (full ? static_cast<uint32_t>(SDL_WINDOW_FULLSCREEN_DESKTOP) : 0u);
    window_ = SDL_CreateWindow(WINDOW_TITLE, x, y, w, h, flags);
    if (window_ == nullptr) {
        error = std::string("cannot create the window: ") + SDL_GetError();
        return false;
    }
    // At 4:3 a game pixel is taller than wide: the smallest window shows every row and column.
    SDL_SetWindowMinimumSize(window_, FIELD_W, unit_h);
    if (!full && !remembered && options_.scale == 0) shrink_below_the_frame(unit_w, unit_h);
    // The window it is as a window, also when it opens full screen: Alt+Enter goes back to it.
    window_state_ = SdlWindowState{true, full, unit_w * scale_, unit_h * scale_, 0, 0};
    if (remembered) {
        window_state_.width = w;
        window_state_.height = h;
    }
    SDL_Rect desktop{0, 0, 0, 0};
    SDL_GetDisplayBounds(0, &desktop);
    window_state_.x = placed ? x : desktop.x + (desktop.w - window_state_.width) / 2;
    window_state_.y = placed ? y : desktop.y + (desktop.h - window_state_.height) / 2;
    return true;
}

// A fitting window one factor smaller when the frame's title bar would push it off the desktop.
void SdlPlatform::shrink_below_the_frame(int unit_w, int unit_h) {
    int top = 0, left = 0, bottom = 0, right = 0;
    SDL_Rect usable{};
    if (scale_ > 1 && SDL_GetWindowBordersSize(window_, &top, &left, &bottom, &right) == 0 &&
        SDL_GetDisplayUsableBounds(0, &usable) == 0 &&
        (unit_h * scale_ + top + bottom > usable.h || unit_w * scale_ + left + right > usable.w)) {
        --scale_;
        SDL_SetWindowSize(window_, unit_w * scale_, unit_h * scale_);
        SDL_SetWindowPosition(window_, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
    }
}

// Keeps the window's size and place as a window (not full screen, not minimised or
// maximised), which the settings file remembers.
void SdlPlatform::remember_windowed() {
    if (window_ == nullptr) return;
    const uint32_t flags = SDL_GetWindowFlags(window_);
    window_state_.fullscreen = fullscreen_now(window_);
    if ((flags & (SDL_WINDOW_FULLSCREEN | SDL_WINDOW_MINIMIZED | SDL_WINDOW_MAXIMIZED | SDL_WINDOW_HIDDEN)) != 0) return;
    SDL_GetWindowSize(window_, &window_state_.width, &window_state_.height);
    SDL_GetWindowPosition(window_, &window_state_.x, &window_state_.y);
    // A window manager frames a new window with its top-left corner where the window was asked
    // to be: the place kept is the frame's, so that the window comes back exactly where it was.
    int top = 0, left = 0, bottom = 0, right = 0;
    if (SDL_GetWindowBordersSize(window_, &top, &left, &bottom, &right) == 0) {
        window_state_.x -= left;
        window_state_.y -= top;
    }
}

SdlWindowState SdlPlatform::window_state() {
    remember_windowed();
    return window_state_;
}

void SdlPlatform::toggle_fullscreen() {
    remember_windowed();
    const bool full = !fullscreen_now(window_);
    if (SDL_SetWindowFullscreen(window_, full ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0) return;
    focus_grace_until_ms_ = SDL_GetTicks64() + TOGGLE_FOCUS_GRACE_MS;
    window_state_.fullscreen = full;
    if (!full) {  // back to the window it was, where it was
        SDL_SetWindowSize(window_, window_state_.width, window_state_.height);
        SDL_SetWindowPosition(window_, window_state_.x, window_state_.y);
    }
    surface_ = nullptr;  // a new size: fit the picture again and draw the whole of it at once
    if (presented_) draw_picture(last_frame_.data());
}

void SdlPlatform::window_key_pressed(WindowKey key) {
    if (key == WindowKey::ToggleFullscreen) toggle_fullscreen();
    if (key == WindowKey::Screenshot) take_screenshot();
}

// A screenshot is the frame as it was last presented, with its palette.
void SdlPlatform::take_screenshot() {
    if (!presented_ || options_.screenshot_folder.empty()) return;
    std::string path, reason;
    const PixelAspect aspect = options_.four_three ? FOUR_THREE_PIXELS : SQUARE_PIXELS;
    if (save_screenshot(options_.screenshot_folder, last_frame_.data(), last_palette_, aspect, std::time(nullptr), path,
                        reason))
        std::fprintf(stderr, "qvar: screenshot saved as %s\n", path.c_str());
    else
        std::fprintf(stderr, "qvar: cannot save a screenshot in %s: %s\n", options_.screenshot_folder.c_str(),
                     reason.c_str());
}

// Size changes refit and redraw the picture at once, even while the game waits for a key
// without presenting; a minimised or hidden window draws nothing until it shows again; the
// focus lost in a game taps P, so that the game pauses exactly as if P had been pressed.
void SdlPlatform::window_event(const SDL_WindowEvent& event) {
    switch (event.event) {
        case SDL_WINDOWEVENT_SIZE_CHANGED:
        case SDL_WINDOWEVENT_MOVED:
            remember_windowed();
            if (event.event == SDL_WINDOWEVENT_MOVED) break;
            surface_ = nullptr;
            if (presented_) draw_picture(last_frame_.data());
            break;
        case SDL_WINDOWEVENT_MINIMIZED:
        case SDL_WINDOWEVENT_HIDDEN: hidden_ = true; break;
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_SHOWN:
        case SDL_WINDOWEVENT_MAXIMIZED:
            hidden_ = false;
            shown_valid_ = false;
            if (presented_) draw_picture(last_frame_.data());
            break;
        case SDL_WINDOWEVENT_EXPOSED:
            if (draws_into_window() && surface_ != nullptr && !hidden_) SDL_UpdateWindowSurface(window_);
            if (renderer_ != nullptr && presented_ && !hidden_) draw_picture(last_frame_.data());
            break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            if (options_.pause_on_focus_loss && input_mode_ == InputMode::Game &&
                SDL_GetTicks64() >= focus_grace_until_ms_)
                events_.keys_tapped = static_cast<uint16_t>(events_.keys_tapped | (1u << static_cast<unsigned>(GameKey::P)));
            break;
        default: break;
    }
}

}  // namespace qvar
