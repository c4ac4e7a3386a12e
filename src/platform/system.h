// The program-wide state (display, input, font, digits, sparks, random numbers) and the
// message pump, timing and waiting idioms every screen and the game use.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "game/spark_pool.h"
#include "gfx/frame_buffer.h"
#include "gfx/palette.h"
#include "gfx/sprite.h"
#include "gfx/text.h"
#include "platform/input.h"
#include "platform/platform.h"
#include "util/files.h"
#include "util/random.h"

namespace qvar {

// Thrown by the waiting helpers when the quit request arrives; game_main catches it,
// releases the display and ends the program with status 0. Nothing is saved on the way out.
struct QuitRequested {};

struct System {
    explicit System(Platform& p) : platform(p) {}

    Platform& platform;
    InputState input;
    bool quit_requested = false;  // sticky: once seen, every pump reports it again
    bool display_open = false;
    uint32_t pump_loops_per_second = 0;
    uint64_t frames_presented = 0;

    FrameBuffer frame;
    float gamma = DEFAULT_GAMMA;
    Palette palette{};  // what the display currently shows

    Font font;
    std::array<Sprite, 10> large_digits;
    std::array<Sprite, 10> large_digits_swapped;
    SparkPool sparks;
    Random rng;
    Paths paths;
    std::string trace_path;  // --trace: one JSON line per game frame, when set
};

// --- display ---
// Shows the frame buffer and clears it to colour 0.
void present_frame(System& sys);
// Fills the frame with 0 and presents it.
void clear_and_present(System& sys);
// Computes the palette for `gamma` and sets all 256 entries, in index order.
void build_palette(System& sys, float gamma);
// Gives the display back; harmless when already released.
void release_display(System& sys);
// Releases the display, shows "Oh sod it" with `text`, writes the line to stderr and
// leaves the quit request pending for the next caller that tests it.
void fatal_error(System& sys, const std::string& text);

// --- messages and time ---
// Handles at most one pending message. Returns true when the quit request is (or was) seen;
// the quit message itself is never dispatched.
bool pump_message(System& sys);
// pump_message, throwing QuitRequested on a quit request.
void pump_or_quit(System& sys);
// Like pump_or_quit, but when nothing was pending, sleeps until a message may arrive
// (at most 50 ms). Used by every wait loop so that waits never spin.
void pump_or_idle(System& sys);
// Waits `ms` milliseconds of real (or virtual) time from the call, sleeping, and handles
// the messages that arrive meanwhile as pump_message would. After a typed character or a
// button message it handles no more until the next frame, so that every key press and
// click is seen by at least one frame even when its release follows within the delay.
// A quit request stays pending.
void delay_ms(System& sys, uint32_t ms);
// Starts the one-second timer (id 42) and waits, pumping, for its first tick; counts the
// pumps made meanwhile. Called once at start-up, under "Initialising...".
void calibrate_delay(System& sys);

// --- waiting idioms (each throws QuitRequested on a quit request) ---
void wait_while_char_typed(System& sys);        // let the last character pass
void wait_until_char_typed(System& sys);        // wait for a character
void wait_all_released(System& sys);            // char_typed and mouse_buttons both 0
void wait_press(System& sys);                   // a character or a button
void wait_key_or_click(System& sys);            // released, pressed, released
void wait_buttons_released(System& sys);        // mouse_buttons 0

}  // namespace qvar
