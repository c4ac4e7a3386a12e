// A gamepad as the keyboard and mouse the game knows: its buttons and stick become the eight
// key states, pointer moves, clicks and typed characters, by what the program waits for
// (InputMode). The game never learns that a pad exists. No SDL here: the SDL backend feeds
// in the pad's buttons and axes and takes out messages and key states.
#pragma once

#include <array>
#include <cstdint>

#include "platform/platform.h"

namespace qvar {

// The buttons by their place on the pad (A south, B east, X west, Y north), as SDL's
// GameController API names them.
enum class PadButton : uint8_t { A, B, X, Y, Back, Start, LeftShoulder, RightShoulder, Up, Down, Left, Right };
inline constexpr int PAD_BUTTON_COUNT = 12;

enum class PadAxis : uint8_t { LeftX, LeftY };

inline constexpr int16_t PAD_DEAD_ZONE = 8000;        // of 32767: a resting stick reads nothing
inline constexpr uint64_t BACK_HOLD_MS = 1000;        // Back held this long ends a game
inline constexpr float POINTER_SLOWEST = 30.0f;       // pixels a second just past the dead zone
inline constexpr float POINTER_FASTEST = 320.0f;      // pixels a second, stick pushed all the way
inline constexpr float POINTER_DPAD = 120.0f;         // pixels a second on the d-pad
inline constexpr uint64_t LETTER_REPEAT_DELAY_MS = 400;  // name entry: up or down held ...
inline constexpr uint64_t LETTER_REPEAT_MS = 120;        // ... steps again this often

struct PadInput {
    InputMode mode = InputMode::Pointer;
    uint16_t held = 0;     // one bit per PadButton
    uint16_t ignored = 0;  // held since before the mode changed: not pressed for this mode
    bool clicking = false;  // a click's button is down
    std::array<int16_t, 2> axes{};
    uint64_t last_tick_ms = 0;
    uint64_t back_since_ms = 0;  // when Back went down
    bool quit_held = false;      // Back has been held long enough: Q reads as down
    uint8_t keys_tapped = 0;     // one bit per GameKey: pressed since the last present
    // The pointer, kept in step with the mouse's moves.
    float pointer_x = 0.0f, pointer_y = 0.0f;
    uint16_t shown_x = 0, shown_y = 0;
    // Name entry: the text typed so far (as the game keeps it) and the held direction's repeat.
    std::array<char, 50> name{};
    int name_length = 0;
    int letter_step = 0;  // +1 or -1 while up or down is held, else 0
    uint64_t next_letter_ms = 0;
    // Messages waiting for the backend to deliver, oldest first.
    std::array<Message, 64> queue{};
    int queue_first = 0, queue_count = 0;
};

// A button went down or up on any pad. Called by the backend in event order.
void pad_button(PadInput& pad, PadButton button, bool down, uint64_t now_ms);
// The left stick's position on one axis, -32768 .. 32767 (up and left negative).
void pad_axis(PadInput& pad, PadAxis axis, int16_t value, uint64_t now_ms);
// Every pad is gone: whatever was held is let go.
void pad_release_all(PadInput& pad, uint64_t now_ms);
// The program now waits for `mode`; the name entry starts empty.
void pad_set_mode(PadInput& pad, InputMode mode);
// Each message the keyboard and the mouse give (not the pad's own), so that the pointer and
// the name follow them too.
void pad_saw_message(PadInput& pad, const Message& message);
// Moves the pointer by the stick for the time since the last tick, repeats a held letter
// step and times Back's hold. Called whenever the backend looks for messages.
void pad_tick(PadInput& pad, uint64_t now_ms);
// Takes the oldest message the pad made; false when there is none.
bool pad_next_message(PadInput& pad, Message& out);
// The pad's share of a game key's state (held, or tapped since the last present).
bool pad_key_down(const PadInput& pad, GameKey key);
// A frame has been presented: taps read as up from now on.
void pad_frame_shown(PadInput& pad);
// True while the pad moves the pointer or steps letters, so that the backend keeps ticking
// while it waits.
bool pad_busy(const PadInput& pad);

}  // namespace qvar
