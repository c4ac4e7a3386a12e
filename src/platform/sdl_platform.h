// The SDL2 backend of the platform interface. SDL types stay inside its .cpp file.
#pragma once

#include <memory>

#include "platform/platform.h"

namespace qvar {

struct SdlOptions {
    bool fullscreen = false;
    int scale = 0;  // 0: the largest whole factor that fits the desktop
};

std::unique_ptr<Platform> make_sdl_platform(const SdlOptions& options);

}  // namespace qvar
