// prefs.dat reading and writing.
#include "store/prefs_file.h"

#include <cstring>

#include "gfx/palette.h"

namespace qvar {

std::vector<uint8_t> gamma_bytes(float gamma) {
    uint32_t bits = 0;
    std::memcpy(&bits, &gamma, sizeof bits);
    return {static_cast<uint8_t>(bits), static_cast<uint8_t>(bits >> 8), static_cast<uint8_t>(bits >> 16),
            static_cast<uint8_t>(bits >> 24)};
}

float load_gamma(const Paths& paths) {
    auto bytes = read_file(paths.user("prefs.dat"));
    if (!bytes || bytes->size() < 4) return DEFAULT_GAMMA;
    uint32_t bits = static_cast<uint32_t>((*bytes)[0]) | static_cast<uint32_t>((*bytes)[1]) << 8 |
                    static_cast<uint32_t>((*bytes)[2]) << 16 | static_cast<uint32_t>((*bytes)[3]) << 24;
    float gamma = 0.0f;
    std::memcpy(&gamma, &bits, sizeof gamma);
    return sanitize_gamma(gamma);
}

bool save_gamma(const Paths& paths, float gamma) { return write_file_atomic(paths.user("prefs.dat"), gamma_bytes(gamma)); }

}  // namespace qvar
