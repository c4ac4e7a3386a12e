// Key names of the settings file as SDL keys.
#include "platform/sdl_backend.h"
#include "util/ascii.h"

namespace qvar {

SDL_Keycode sdl_keycode_of(std::string_view name) {
    // '#' and ';' start comments in the settings file, so those two keys go by their names.
    if (same_word(name, "hash")) return SDLK_HASH;
    if (same_word(name, "semicolon")) return SDLK_SEMICOLON;
    return SDL_GetKeyFromName(std::string(name).c_str());  // needs no SDL_Init: a table look-up
}

bool sdl_key_name_known(std::string_view name) { return sdl_keycode_of(name) != SDLK_UNKNOWN; }

}  // namespace qvar
