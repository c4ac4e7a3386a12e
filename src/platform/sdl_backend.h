// Internal to the SDL backend: the Platform implementation over SDL2 and its event rules.
#pragma once

#include <SDL.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/four_three.h"
#include "platform/pad_input.h"
#include "platform/scaled_picture.h"
#include "platform/sdl_platform.h"
#include "platform/tick_timer.h"

namespace qvar {

// A key bound to a game action, and whether it is held.
struct BoundKey {
    SDL_Keycode key = SDLK_UNKNOWN;
    GameKey action = GameKey::Space;
    bool held = false;
};

// Where the picture sits in the window, for drawing it and for mouse positions.
struct PicturePlace {
    bool four_three = false;
    PictureFit fit;          // square pixels: the whole factor and corner
    FourThreePlan plan;      // 4:3: the target size and its taps
    int target_w = 0, target_h = 0;  // the window's size in pixels they were made for
};

// What the event translation remembers between SDL events.
struct SdlEventState {
    uint32_t buttons = 0;           // MOUSE_LEFT / MOUSE_RIGHT / MOUSE_MIDDLE held
    uint32_t pad_buttons = 0;       // MOUSE_LEFT while a gamepad's click is down
    uint32_t modifiers = 0;         // SDL_Keymod as of the last key event handled
    std::array<uint8_t, 32> text{};  // printable characters of a text event still to deliver
    size_t text_next = 0;
    size_t text_count = 0;
    std::vector<BoundKey> bound;  // the keys of the game actions
    uint16_t keys_tapped = 0;     // one bit per GameKey: went down since the last present
    PicturePlace place;
};

// The bindings for `names` (indexed by GameKey); names SDL does not know are left out, and an
// action left without a key keeps its default keys.
std::vector<BoundKey> bind_keys(const KeyNames& names);

// Turns one SDL event into exactly one message, except a text event with several printable
// characters: its first character is returned and the rest wait in `state.text`.
// Shift and Ctrl on button messages follow the key events in the queue, so a click made
// while Shift was held reports it even when Shift is let go before the click is handled.
// The game keys' state follows the key events taken, in the same order as the messages.
Message translate_sdl_event(const SDL_Event& event, SdlEventState& state);

// The game key's state after the key events taken so far: held, or tapped since the last
// present.
bool game_key_down(const SdlEventState& state, GameKey key);

// True for the keys the window itself answers: Alt+Enter and F11 (full screen), F12 (a
// screenshot). Their presses reach the game as nothing more than a key message.
enum class WindowKey : uint8_t { Plain, ToggleFullscreen, Screenshot };
WindowKey window_key(const SDL_Event& event);

// The game controllers plugged in, merged into one pad for PadInput.
class SdlPads {
public:
    // Starts SDL's game controllers, adding the mappings of `mappings_path` when it exists.
    void start(const std::string& mappings_path);
    void stop();
    // Takes a controller event (added, removed, button, axis) into `pad`; false for any other.
    bool handle(const SDL_Event& event, PadInput& pad, uint64_t now_ms);
    bool connected() const;

private:
    struct Slot {
        SDL_JoystickID id = -1;
        SDL_GameController* controller = nullptr;
        uint16_t held = 0;  // one bit per PadButton
    };
    Slot* slot_of(SDL_JoystickID id);
    void add(int device_index, PadInput& pad, uint64_t now_ms);
    void take_state(Slot& slot, PadInput& pad, uint64_t now_ms) const;
    void merge_buttons(PadInput& pad, uint64_t now_ms) const;

    bool started_ = false;
    std::array<Slot, 8> slots_{};
};

// The key a settings-file key name means; SDLK_UNKNOWN for a name SDL does not know.
SDL_Keycode sdl_keycode_of(std::string_view name);

// The socket of the X connection behind `window`, or -1 when it is not an X11 window.
int sdl_x11_socket(SDL_Window* window);

class SdlPlatform : public Platform {
public:
    explicit SdlPlatform(const SdlOptions& options);
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
    void set_input_mode(InputMode mode) override;
    void message_box(const std::string& caption, const std::string& text) override;

    // The whole-number factor the window was opened at (0 before open_display).
    int scale() const { return scale_; }
    // The window as the player has it now, or as it was when it closed.
    SdlWindowState window_state();
    // Test support (sdl_test_events.cpp): queues a synthetic event for this window.
    bool push_test_event(const SdlTestEvent& event);
    // Test support: resizes the window as a player dragging its frame would.
    void resize_window(int width, int height);

    // True when frames go straight into the window's pixels rather than through a renderer.
    bool draws_into_window() const { return window_ != nullptr && renderer_ == nullptr; }

private:
    // sdl_window.cpp: the window, its size and place, full screen, focus, screenshots.
    bool create_window(std::string& error);
    void shrink_below_the_frame(int unit_w, int unit_h);
    int fitting_scale(int unit_w, int unit_h) const;
    void window_event(const SDL_WindowEvent& event);
    void window_key_pressed(WindowKey key);
    void toggle_fullscreen();
    void remember_windowed();
    void take_screenshot();
    // sdl_platform.cpp: drawing the picture.
    bool choose_drawing(std::string& error);
    bool create_texture(std::string& error);
    void use_pixel_format(uint32_t format);
    void fit_picture_to(int width, int height);
    void draw_picture(const uint8_t* pixels);
    void present_into_window(const uint8_t* pixels);
    void present_four_three_into(SDL_Surface* surface, const uint8_t* pixels);
    void send_to_screen(const FieldRect* parts, int count);
    void present_with_renderer(const uint8_t* pixels);
    bool enlarge_for_four_three();
    // sdl_events.cpp
    bool take_sdl_event(Message& out);
    bool pad_message(Message& out);

    SdlOptions options_;
    bool video_started_ = false;
    SDL_Window* window_ = nullptr;
    // With a graphics card: the accelerated renderer and its streaming texture. Without one
    // (or when its OpenGL is drawn by the processor) both stay null and frames are drawn
    // straight into the window's surface.
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    SDL_Texture* enlarged_ = nullptr;  // 4:3 through the renderer: the whole-factor enlargement
    bool texture_lost_ = false;
    SDL_Surface* surface_ = nullptr;  // the window surface the picture was last fitted to
    bool bars_due_ = true;            // the bars round the picture must be (re)drawn
    std::array<uint8_t, 320 * 200> shown_{};  // the frame the window's pixels now show
    bool shown_valid_ = false;        // false: the next present redraws the whole picture
    std::array<uint8_t, 320 * 200> last_frame_{};  // the frame last presented, for redraws and F12
    Palette last_palette_{};                        // and the palette it was presented with
    bool presented_ = false;          // a frame has been presented since the window opened
    bool hidden_ = false;             // minimised or hidden: nothing is drawn
    int scale_ = 0;
    int x11_socket_ = -1;  // the window's X connection, -1 when not on X11 or released
    Palette palette_{};
    SDL_PixelFormat* pixel_format_ = nullptr;  // the format colours_ is in
    ColourTable colours_{};                    // the palette as pixel values of the target
    SdlEventState events_;
    InputMode input_mode_ = InputMode::Pointer;
    PadInput pad_;
    SdlPads pads_;
    SdlWindowState window_state_;    // windowed size and place, kept up to date
    uint64_t focus_grace_until_ms_ = 0;  // a focus loss before this comes from going full screen
    TickTimer timer_;
};

}  // namespace qvar
