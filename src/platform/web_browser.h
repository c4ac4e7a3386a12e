// The calls into the page's JavaScript that the web backend makes (web_browser.cpp).
#pragma once

#include <cstdint>

namespace qvar::web {

// Finds the canvas with id "screen" and its 2-D context; false when the page has none.
bool open_canvas();
// Puts 320x200 RGBA pixels (alpha 255) onto the canvas, one copy, and tells the page's test
// hook (Module.onQvarFrame) which frame it was.
void show_frame(const uint32_t* rgba, uint64_t frame);
// Yields to the browser for up to `ms` milliseconds; wake() ends the wait early. While the
// game waits here the page handles events, which the backend queues as messages.
void sleep_ms(double ms);
// Ends a sleep_ms in progress as soon as the browser's current event is handled.
void wake();
// Milliseconds from an arbitrary start on the browser's monotonic clock (performance.now).
double now_ms();
// Shows the page's message box and waits until the player dismisses it.
void message_box(const char* caption, const char* text);
// Converts a mouse position in the page (clientX, clientY) to play-field pixels, clamped to
// the picture's edges. Returns x << 16 | y, with FIELD_OUTSIDE set when it is off the picture.
inline constexpr uint32_t FIELD_OUTSIDE = 0x80000000u;
uint32_t field_point(double client_x, double client_y);
// Mounts IndexedDB at `folder` and loads it; false when the storage is not available.
bool mount_persistent(const char* folder);
// Copies the persistent folder back to IndexedDB; a copy asked for while one runs follows it.
void sync_persistent();
// Tells the page that the program ended with `status`.
void program_ended(int status);

}  // namespace qvar::web
