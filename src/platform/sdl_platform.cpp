// The SDL2 backend (to be completed).
#include "platform/sdl_platform.h"

namespace qvar {

std::unique_ptr<Platform> make_sdl_platform(const SdlOptions&) { return nullptr; }

}  // namespace qvar
