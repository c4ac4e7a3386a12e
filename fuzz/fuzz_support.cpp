// The shared headless System of the fuzz targets.
#include "fuzz_support.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "platform/headless_platform.h"

namespace qvar::fuzz {

System& fuzz_system() {
    static HeadlessPlatform platform;
    static std::unique_ptr<System> sys = [] {
        auto made = std::make_unique<System>(platform);
        std::string error;
        made->display_open = platform.open_display(error);
        for (int i = 0; i < GLYPH_COUNT; ++i)
            made->font.glyphs[static_cast<size_t>(i)] = make_sprite(GLYPH_WIDTHS[static_cast<size_t>(i)], GLYPH_HEIGHT, 15);
        return made;
    }();
    sys->frame.clear();
    return *sys;
}

void require(bool promise, const char* what) {
    if (promise) return;
    std::fprintf(stderr, "fuzz: broken promise: %s\n", what);
    std::abort();
}

}  // namespace qvar::fuzz
