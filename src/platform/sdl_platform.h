// The SDL2 backend of the platform interface. SDL types stay inside its .cpp files.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/default_keys.h"
#include "platform/pad_input.h"
#include "platform/platform.h"

namespace qvar {

struct SdlOptions {
    bool fullscreen = false;  // desktop full screen, the picture letterboxed
    int scale = 0;            // the window at this whole factor; 0: the remembered size, else
                              // the largest factor that fits the usable desktop
    bool four_three = false;  // the picture at 4:3 (a window unit of 320x240), else square pixels
    int window_width = 0;     // the window's remembered size; 0: none
    int window_height = 0;
    bool window_placed = false;  // a remembered position (used when it is on a display)
    int window_x = 0;
    int window_y = 0;
    bool pause_on_focus_loss = true;  // losing the focus in a game taps P
    std::string screenshot_folder;    // where F12 saves; empty: no screenshots
    KeyNames keys = default_key_names();  // the key names of each game action
    std::string controller_mappings;  // a gamecontrollerdb.txt to add to SDL's own, if it exists
};

// The window as the player left it, for the settings file: full screen or not, and the size
// and place it last had as a window.
struct SdlWindowState {
    bool known = false;  // false: no window was opened
    bool fullscreen = false;
    int width = 0, height = 0;
    int x = 0, y = 0;
};

// The window's state when it was closed (or now, while it is open).
SdlWindowState sdl_window_state(Platform& platform);

// Makes the SDL2 platform; nothing is opened until open_display.
std::unique_ptr<Platform> make_sdl_platform(const SdlOptions& options);

// Test support: an event as the system would deliver it, described without SDL types.
struct SdlTestEvent {
    enum class Type { Text, KeyDown, KeyUp, ButtonDown, ButtonUp, Motion, Close, FocusLost, FocusGained,
                      Minimized, Restored, Other };
    Type type = Type::Other;
    std::string text;    // Text: up to 31 bytes
    int key = 0;         // KeyDown/Up: 13 Enter, 8 Backspace, 27 Escape, 32 Space, anything else A
    std::string key_name;  // KeyDown/Up: when set, the key SDL calls so ("F11", "X"), instead of `key`
    bool repeat = false;  // KeyDown: a repeat of a held key
    int button = 1;      // 1 left, 2 middle, 3 right
    int clicks = 1;      // 2 for the second press of a double click
    int x = 0, y = 0;    // Motion: window pixels (before scaling to the play-field)
    bool shift = false, ctrl = false, alt = false;  // KeyDown/Up: the modifier keys held after it
};

// Puts `event` into SDL's queue for the window of `platform`, which must be an SDL platform
// with its display open. The renderer's coordinate mapping applies as for real events.
// False when it is not such a platform or SDL refuses the event.
bool sdl_push_test_event(Platform& platform, const SdlTestEvent& event);

// True when an OpenGL implementation's name (GL_RENDERER) says the processor draws, not a
// graphics card; the SDL platform then uses SDL's software renderer instead.
bool is_software_gl(const std::string& renderer_name);

// Sleeps until `socket` has data to read or `timeout_us` microseconds have passed; the SDL
// platform's wait on an X11 window. False when the time ran out with nothing to read.
bool wait_readable(int socket, uint64_t timeout_us);

// Whether SDL knows a key by this name ("Space", "left ctrl", "P", "Keypad 5"), or it is one
// of the names the settings file uses for keys that start a comment there: Hash, Semicolon.
bool sdl_key_name_known(std::string_view name);

// Test support: one virtual game controller, which SDL treats as a real pad (plugged in when
// attached, pulled out when detached). Each change of a button or the stick is queued as its
// own event at once.
bool sdl_attach_test_pad();
bool sdl_test_pad_button(PadButton button, bool down);
bool sdl_test_pad_axis(PadAxis axis, int16_t value);
void sdl_detach_test_pad();

// Test support: resizes an SDL platform's window as a player dragging its frame would.
void sdl_resize_test_window(Platform& platform, int width, int height);

// The whole-number factor an SDL platform's window was opened at; 0 for any other platform.
int sdl_window_scale(Platform& platform);

}  // namespace qvar
