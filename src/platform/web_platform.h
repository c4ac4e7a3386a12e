// The web backend: the game in a browser page, built with Emscripten. The page (web/index.html)
// holds the canvas, the message-box overlay and the controls; this side draws into the canvas,
// takes the browser's keyboard, mouse and focus events as the game's messages, and waits by
// yielding to the browser (the build uses Asyncify, so the game's own loops stay as they are).
#pragma once

#include <memory>
#include <string>

#include "platform/platform.h"

namespace qvar {

// The platform for the page's canvas (the element with id "screen"). open_display fails with
// a reason when the page has no such canvas.
std::unique_ptr<Platform> make_web_platform();

// Called once before the game starts: mounts the browser's persistent storage (IndexedDB) at
// `folder` and waits until what it holds has been copied in. From then on every file written
// atomically inside `folder` is copied back to the browser's storage after its rename.
// Returns false (after a line on stderr) when the storage is not available; the game then
// runs with files that last only until the page is closed.
bool mount_persistent_folder(const std::string& folder);

// Called when the program has ended (Exit in the menu, or a fatal error): the page says so
// and offers to start again.
void show_program_end(int status);

}  // namespace qvar
