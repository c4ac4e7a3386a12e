// prefs.dat reading and writing.
#include "store/prefs_file.h"

#include <cstring>

#include "gfx/palette.h"
#include "store/player_file_io.h"

namespace qvar {

std::vector<uint8_t> gamma_bytes(float gamma) {
    uint32_t bits = 0;
    std::memcpy(&bits, &gamma, sizeof bits);
    return {static_cast<uint8_t>(bits), static_cast<uint8_t>(bits >> 8), static_cast<uint8_t>(bits >> 16),
            static_cast<uint8_t>(bits >> 24)};
}

float parse_gamma(const std::vector<uint8_t>& bytes) {
    if (bytes.size() < PREFS_FILE_SIZE) return DEFAULT_GAMMA;
    const uint32_t bits = static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
                          static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
    float gamma = 0.0f;
    std::memcpy(&gamma, &bits, sizeof gamma);
    return sanitize_gamma(gamma);
}

float load_gamma(const Paths& paths) {
    return parse_gamma(read_player_file(paths, PREFS_FILE, PREFS_FILE_SIZE, "using gamma 1.0"));
}

FileResult save_gamma(const Paths& paths, float gamma) {
    // The newest choice wins: there is nothing to merge.
    return save_player_file(paths, PREFS_FILE, PREFS_FILE_SIZE,
                            [gamma](const std::vector<uint8_t>&) { return gamma_bytes(gamma); });
}

}  // namespace qvar
