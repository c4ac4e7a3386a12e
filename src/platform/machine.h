// The program's view of the machine (display, frame buffer, palette, input state) and the
// message pump, timing and waiting idioms every screen and the game use.
#pragma once

#include <cstdint>
#include <string>

#include "gfx/frame_buffer.h"
#include "gfx/palette.h"
#include "platform/frame_pacing.h"
#include "platform/frame_stats.h"
#include "platform/input.h"
#include "platform/platform.h"
#include "platform/recorder.h"

namespace qvar {

// Thrown by the waiting helpers when the quit request arrives; the main cycle catches it,
// releases the display and ends the program with status 0. Nothing is saved on the way out.
struct QuitRequested {};

// What every loop of the program shares with the platform: the display and its palette,
// the frame buffer drawn into, and the input state the window procedure keeps.
struct Machine {
    explicit Machine(Platform& p) : platform(p) {}

    Platform& platform;
    InputState input;
    bool quit_requested = false;  // sticky: once seen, every pump reports it again
    bool display_open = false;
    uint32_t pump_loops_per_second = 0;
    uint64_t frames_presented = 0;
    FramePacer pacer;
    FrameStats* stats = nullptr;  // --stats: every present is recorded here when set
    // Every answer the game takes from the machine goes through here when set: noted by the
    // recordings, or given by a playback instead of the platform.
    Recorder* recorder = nullptr;

    FrameBuffer frame;
    float gamma = DEFAULT_GAMMA;
    Palette palette{};  // what the display currently shows
};

// --- display ---
// Shows the frame buffer and clears it to colour 0. The frame has seen the input: latched
// presses are let go (end_input_frame) and game keys tapped before it read as up again.
void present_frame(Machine& sys);
// Fills the frame with 0 and presents it.
void clear_and_present(Machine& sys);
// Computes the palette for `gamma` and sets all 256 entries, in index order.
void build_palette(Machine& sys, float gamma);
// Gives the display back; harmless when already released.
void release_display(Machine& sys);
// Releases the display, shows "Oh sod it" with `text`, writes the line to stderr and
// leaves the quit request pending for the next caller that tests it.
void fatal_error(Machine& sys, const std::string& text);

// --- input and time the game reads ---
// A game key's state (Platform::key_down), recorded or played back.
bool key_down(Machine& sys, GameKey key);
// The clock in ms, for what the game shows for a time (the save notice); recorded or played back.
uint64_t clock_ms(Machine& sys);

// --- messages and time ---
// Handles at most one pending message. Returns true when the quit request is (or was) seen;
// the quit message itself is never dispatched.
bool pump_message(Machine& sys);
// pump_message, throwing QuitRequested on a quit request.
void pump_or_quit(Machine& sys);
// One step of a wait loop, called after the loop has looked at the input state and found
// it must go on. A press latched for a frame has now been seen: when letting it go changes
// the state, it returns at once so that the loop looks again. Otherwise like pump_or_quit,
// but when nothing was pending it sleeps until a message may arrive (at most 50 ms), so that
// waits never spin and a wait never sticks on a release that was already handled.
void pump_or_idle(Machine& sys);
// The delay after a presented frame: sleeps until the frame's deadline (frame_pacing.h) and
// handles every message that is waiting or arrives meanwhile, as pump_message would, so that
// nothing typed during a delay survives it. Presses stay visible to the next frame through
// the input latch (input.h). A quit request stays pending.
void delay_ms(Machine& sys, uint32_t ms);
// Starts the one-second timer (id 42) and waits, pumping, for its first tick; counts the
// pumps made meanwhile. Called once at start-up, under "Initialising...".
void calibrate_delay(Machine& sys);

// Lets go of presses no frame will now look at, as a presented frame does; for a sequence
// whose frames read no input (the game-over fades) before a wait that does.
void forget_unseen_input(Machine& sys);

// --- waiting idioms (each throws QuitRequested on a quit request) ---
void wait_while_char_typed(Machine& sys);        // let the last character pass
void wait_until_char_typed(Machine& sys);        // wait for a character
void wait_all_released(Machine& sys);            // char_typed and mouse_buttons both 0
void wait_press(Machine& sys);                   // a character or a button
void wait_key_or_click(Machine& sys);            // released, pressed, released
void wait_buttons_released(Machine& sys);        // mouse_buttons 0

}  // namespace qvar
