// Internal to the SDL backend: the Platform implementation over SDL2 and its event rules.
#pragma once

#include <SDL.h>

#include <array>
#include <cstdint>
#include <string>

#include "platform/pad_input.h"
#include "platform/scaled_picture.h"
#include "platform/sdl_platform.h"

namespace qvar {

// What the event translation remembers between SDL events.
struct SdlEventState {
    uint32_t buttons = 0;           // MOUSE_LEFT / MOUSE_RIGHT / MOUSE_MIDDLE held
    uint32_t modifiers = 0;         // SDL_Keymod as of the last key event handled
    std::array<uint8_t, 32> text{};  // printable characters of a text event still to deliver
    size_t text_next = 0;
    size_t text_count = 0;
    uint16_t keys_held = 0;   // one bit per key the game reads (both Ctrl keys apart)
    uint16_t keys_tapped = 0;  // one bit per GameKey: went down since the last present
    PictureFit fit;           // where the picture sits in the window, for mouse positions
};

// Turns one SDL event into exactly one message, except a text event with several printable
// characters: its first character is returned and the rest wait in `state.text`.
// Shift and Ctrl on button messages follow the key events in the queue, so a click made
// while Shift was held reports it even when Shift is let go before the click is handled.
// The game keys' state follows the key events taken, in the same order as the messages.
Message translate_sdl_event(const SDL_Event& event, SdlEventState& state);

// The game controllers plugged in, merged into one pad for PadInput.
class SdlPads {
public:
    // Starts SDL's game controllers, adding the mappings of `mappings_path` when it exists.
    void start(const std::string& mappings_path);
    void stop();
    // Takes a controller event (added, removed, button, axis) into `pad`; false for any other.
    bool handle(const SDL_Event& event, PadInput& pad, uint64_t now_ms);

private:
    struct Slot {
        SDL_JoystickID id = -1;
        SDL_GameController* controller = nullptr;
        uint16_t held = 0;  // one bit per PadButton
    };
    Slot* slot_of(SDL_JoystickID id);
    void add(int device_index);
    void merge_buttons(PadInput& pad, uint64_t now_ms) const;

    bool started_ = false;
    std::array<Slot, 8> slots_{};
};

// The key a settings-file key name means; SDLK_UNKNOWN for a name SDL does not know.
SDL_Keycode sdl_keycode_of(std::string_view name);
// The game key's state after the key events taken so far: held, or tapped since the last
// present.
bool game_key_down(const SdlEventState& state, GameKey key);

// The socket of the X connection behind `window`, or -1 when it is not an X11 window.
int sdl_x11_socket(SDL_Window* window);

class SdlPlatform : public Platform {
public:
    explicit SdlPlatform(const SdlOptions& options) : options_(options) {}
    ~SdlPlatform() override;
    SdlPlatform(const SdlPlatform&) = delete;
    SdlPlatform& operator=(const SdlPlatform&) = delete;

    bool open_display(std::string& error) override;
    void set_palette_entry(uint8_t index, Rgb colour) override;
    void present(const uint8_t* pixels) override;
    void release_display() override;
    bool poll_message(Message& out) override;
    void wait_message(uint32_t timeout_ms) override;
    bool wait_message_us(uint64_t timeout_us) override;
    uint64_t now_ms() override { return SDL_GetTicks64(); }
    uint64_t now_us() override;
    void start_timer(int32_t id, uint32_t period_ms) override;
    bool key_down(GameKey key) override;
    void set_input_mode(InputMode mode) override { input_mode_ = mode; }
    void message_box(const std::string& caption, const std::string& text) override;

    // The whole-number factor the window was opened at (0 before open_display).
    int scale() const { return scale_; }
    // Test support (sdl_test_events.cpp): queues a synthetic event for this window.
    bool push_test_event(const SdlTestEvent& event);

    // True when frames go straight into the window's pixels rather than through a renderer.
    bool draws_into_window() const { return window_ != nullptr && renderer_ == nullptr; }

private:
    bool create_window(std::string& error);
    bool choose_drawing(std::string& error);
    bool create_texture(std::string& error);
    int fitting_scale() const;
    bool timer_due(Message& out);
    void window_event(const SDL_WindowEvent& event);
    void use_pixel_format(uint32_t format);
    void present_into_window(const uint8_t* pixels);
    void send_to_screen(const FieldRect* parts, int count);
    void present_with_renderer(const uint8_t* pixels);

    SdlOptions options_;
    bool video_started_ = false;
    SDL_Window* window_ = nullptr;
    // With a graphics card: the accelerated renderer and its streaming texture. Without one
    // (or when its OpenGL is drawn by the processor) both stay null and frames are drawn
    // straight into the window's surface.
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    bool texture_lost_ = false;
    SDL_Surface* surface_ = nullptr;  // the window surface the picture was last fitted to
    bool bars_due_ = true;            // the bars round the picture must be (re)drawn
    std::array<uint8_t, 320 * 200> shown_{};  // the frame the window's pixels now show
    bool shown_valid_ = false;        // false: the next present redraws the whole picture
    int scale_ = 0;
    int x11_socket_ = -1;  // the window's X connection, -1 when not on X11 or released
    Palette palette_{};
    SDL_PixelFormat* pixel_format_ = nullptr;  // the format colours_ is in
    ColourTable colours_{};                    // the palette as pixel values of the target
    SdlEventState events_;
    InputMode input_mode_ = InputMode::Pointer;
    int32_t timer_id_ = 0;
    uint32_t timer_period_ = 0;
    uint64_t next_tick_ = 0;
};

}  // namespace qvar
