// Input scripts for headless runs: a small text format of timed keyboard and mouse events.
//
// One event or directive per line; blank lines and lines starting with '#' are ignored, and
// a '#' after a blank (outside double quotes) starts a comment that runs to the line's end.
// An event line is   WHEN ACTION [ARGUMENTS]
//
//   WHEN     2500      at virtual time 2500 ms (also "2500ms", or "3s" for seconds)
//            +400      400 ms after the event on the line above has finished
//            f120      right after presented frame 120 (frames count from 1)
//            +f10      10 presented frames after the event on the line above has finished
//   ACTION   press KEY / release KEY   KEY: space ctrl left up right down p q
//                                      (pressing space, p or q also types ' ', 'p', 'q')
//            type CHAR                 a printable character (quoted as "#" where it could
//                                      be taken for something else), or enter, backspace,
//                                      escape, space, hash; the key is let go 30 ms later
//            text STRING               types each character, one every 60 ms; the rest of
//                                      the line, or "between double quotes" to keep blanks
//            move X Y                  mouse to play-field pixel X (0..319), Y (0..199)
//            button-down BTN / button-up BTN      BTN: left or right
//            click [BTN] [X Y]         moves first when X Y are given; presses the button
//                                      (left by default) and lets it go 40 ms later
//            focus-lost / focus-gained the window loses or regains the focus (losing it
//                                      pauses a game when pause_on_focus_loss is on)
//            quit                      the window's close request
// A directive line:  idle-quit MS   quit after MS virtual ms without input once the script
//                                   has run out (0: never); the default is 60000.
//
// An event "finishes" when its last part has happened (the release of a typed key or a
// click, the last character of a text). Frame events cannot fire while the program waits
// without presenting (a paused game, a "press a key" page): use time events there; delays
// and waits move the virtual clock, and every presented frame costs 1 ms of it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/headless_platform.h"

namespace qvar {

inline constexpr uint64_t DEFAULT_IDLE_QUIT_MS = 60000;
inline constexpr size_t MAX_SCRIPT_BYTES = 1 << 20;  // a longer script file is refused
inline constexpr size_t MAX_SCRIPT_ERRORS = 50;      // listed; the rest are counted
inline constexpr uint32_t SCRIPT_PRESENT_COST_MS = 1;
inline constexpr uint32_t TYPE_HOLD_MS = 30;     // a typed key is let go this much later
inline constexpr uint32_t TEXT_GAP_MS = 60;      // between the characters of a text
inline constexpr uint32_t CLICK_HOLD_MS = 40;    // a click's button is let go this much later

enum class ScriptWhen : uint8_t { AtTime, AfterTime, AtFrame, AfterFrames };
enum class ScriptOp : uint8_t { Press, Release, Type, Text, Move, ButtonDown, ButtonUp, Click, Quit, FocusLost, FocusGained };

struct ScriptEvent {
    int line = 0;
    ScriptWhen when = ScriptWhen::AtTime;
    uint64_t at = 0;  // ms or frames, absolute or relative as `when` says
    ScriptOp op = ScriptOp::Quit;
    GameKey key = GameKey::Space;
    uint32_t button = MOUSE_LEFT;
    bool has_position = false;  // move always has one; click may
    uint16_t x = 0, y = 0;
    std::string text;  // Type: one character; Text: the characters
};

struct InputScript {
    std::vector<ScriptEvent> events;  // in file order
    uint64_t idle_quit_ms = DEFAULT_IDLE_QUIT_MS;
};

struct ScriptError {
    int line = 0;
    std::string message;
};

// Parses a whole script. Returns true when it has no error; otherwise `errors` lists the
// faulty lines (the first 50, each message naming the word at fault; when there were more,
// a last entry with line 0 says how many were left out) and `out` must not be used. Any byte
// sequence is safe input.
bool parse_input_script(std::string_view text, InputScript& out, std::vector<ScriptError>& errors);

enum class ScriptLoad : uint8_t { Ok, Unreadable, Faulty };

// Reads (at most MAX_SCRIPT_BYTES) and parses a script file. On failure `message` holds
// lines that each end with a line feed: "FILE: cannot read the input script: REASON", or
// every error as "FILE:LINE: message". Words from the file or its name are escaped and cut.
ScriptLoad load_input_script(const std::string& path, InputScript& out, std::string& message);

// Schedules the script's events on the platform. Absolute events are scheduled at once,
// relative ones when the event above them finishes. Call once, before the run starts.
void install_input_script(HeadlessPlatform& platform, const InputScript& script);

// Sets up a scripted run: 1 ms of virtual time per presented frame, the script's idle quit,
// and its events. Used by the command line and by end-to-end tests.
void prepare_scripted_run(HeadlessPlatform& platform, const InputScript& script);

}  // namespace qvar
