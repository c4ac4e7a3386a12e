// The one interface between the game and the machine: window messages, key state, time,
// an 8-bit palettised display and a message box. Backends: SDL2 and headless.
#pragma once

#include <cstdint>
#include <string>

#include "gfx/palette.h"

namespace qvar {

// The eight keys the game polls by their up or down state.
enum class GameKey : uint8_t { Space, Control, Left, Up, Right, Down, P, Q };
inline constexpr int GAME_KEY_COUNT = 8;

enum class MessageKind : uint8_t {
    Character,    // a typed character (printable, 13 Enter, 8 Backspace, 27 Escape)
    Timer,        // a window timer tick, with its id
    MouseMove,    // pointer position in play-field pixels
    MouseButton,  // left or right button pressed or released, with the flag word after it
    DoubleClick,  // second press of a quick left double click: changes nothing
    Quit,         // the quit request (window closed); reported, never dispatched
    Other,        // any other message (key presses and releases, focus, ...)
};

// What the program is waiting for, so that a backend can give input that is neither a key
// nor the mouse its meaning (a gamepad's buttons; the window losing the focus pauses a game).
// Each screen sets it as it starts; the game sets Game for its frames.
enum class InputMode : uint8_t {
    Pointer,  // the menu and the screens driven by the mouse
    Game,     // a game's frames: the eight keys are read by their state
    PressAnyKey,  // a "press a key" page: any typed character (or a click) goes on
    Text,     // the name entry: typed characters, Backspace and Enter
};

// Mouse flag bits of a button message, as the window system delivers them.
inline constexpr uint32_t MOUSE_LEFT = 0x01;
inline constexpr uint32_t MOUSE_RIGHT = 0x02;
inline constexpr uint32_t MOUSE_SHIFT = 0x04;
inline constexpr uint32_t MOUSE_CONTROL = 0x08;
inline constexpr uint32_t MOUSE_MIDDLE = 0x10;

struct Message {
    MessageKind kind = MessageKind::Other;
    uint8_t character = 0;
    int32_t timer_id = 0;
    uint16_t x = 0, y = 0;
    uint32_t button_flags = 0;
};

class Platform {
public:
    virtual ~Platform() = default;

    // Called once at start-up: opens the window and the 320x200 8-bit display.
    // Returns false and fills `error` with a one-line reason on failure.
    virtual bool open_display(std::string& error) = 0;
    // Sets one palette entry; it shows from the next presented frame.
    virtual void set_palette_entry(uint8_t index, Rgb colour) = 0;
    // Shows 200 rows of 320 palette indices. Never keeps the pointer. Also ends the frame for
    // key_down: a key tapped since the last present reads as up from now on.
    virtual void present(const uint8_t* pixels) = 0;
    // Gives the screen back. Safe to call more than once and before open_display.
    virtual void release_display() = 0;

    // Takes the next pending message without waiting; false when none is pending.
    virtual bool poll_message(Message& out) = 0;
    // Sleeps until a message may be pending or `timeout_ms` has passed. Never spins.
    virtual void wait_message(uint32_t timeout_ms) = 0;
    // The same to the microsecond, for the frame deadlines; may wake early, never spins.
    // Returns false only when the whole timeout passed and no message can have arrived, so
    // that the caller need not look.
    virtual bool wait_message_us(uint64_t timeout_us) = 0;
    // Milliseconds on the backend's clock (real or virtual), from an arbitrary start.
    virtual uint64_t now_ms() = 0;
    // Microseconds on a monotonic clock (real or virtual), from an arbitrary start.
    virtual uint64_t now_us() = 0;
    // Starts a repeating timer: a Timer message with `id` every `period_ms`.
    virtual void start_timer(int32_t id, uint32_t period_ms) = 0;

    // True while the key is held, and also when it went down since the last present, so that
    // a tap shorter than a frame reads as down in exactly one frame. It changes only when
    // messages are taken and at a present, so two reads in one frame give the same answer.
    virtual bool key_down(GameKey key) = 0;
    // Tells the backend what the program now waits for (see InputMode).
    virtual void set_input_mode(InputMode mode) = 0;

    // Shows a blocking message box with an OK button (headless: records it).
    virtual void message_box(const std::string& caption, const std::string& text) = 0;
};

}  // namespace qvar
