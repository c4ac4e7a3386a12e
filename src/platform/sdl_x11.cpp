// The X connection behind an SDL window, kept apart because the X headers bring macros
// (None, Bool, Status, ...) that must not meet the rest of the backend.
#include <SDL.h>
#include <SDL_syswm.h>
#include <poll.h>

#include "platform/sdl_backend.h"

namespace qvar {

int sdl_x11_socket(SDL_Window* window) {
#if defined(SDL_VIDEO_DRIVER_X11)
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (window != nullptr && SDL_GetWindowWMInfo(window, &info) == SDL_TRUE && info.subsystem == SDL_SYSWM_X11 &&
        info.info.x11.display != nullptr)
        return ConnectionNumber(info.info.x11.display);
#else
    (void)window;
#endif
    return -1;
}

bool wait_readable(int socket, uint64_t timeout_us) {
    pollfd p{};
    p.fd = socket;
    p.events = POLLIN;
    timespec timeout{};
    timeout.tv_sec = static_cast<time_t>(timeout_us / 1000000);
    timeout.tv_nsec = static_cast<long>(timeout_us % 1000000) * 1000;
    return ::ppoll(&p, 1, &timeout, nullptr) != 0;  // data, or a signal (or an error): look
}

}  // namespace qvar
