// Fuzz target for c2.dat: unscrambling into the fixed buffers, then every line drawn as the
// credits screen scrolls past it.
#include "fuzz_support.h"
#include "screens/credits.h"

namespace qvar::fuzz {

int fuzz_credits(const uint8_t* data, size_t size) {
    System& sys = fuzz_system();
    static CreditsText text;
    load_credits_text(bytes_of(data, size), text);
    require(text.shown_lines() >= 0 && text.shown_lines() < CREDITS_LINE_STARTS, "the line count fits the table");
    for (int32_t k = 0; k < text.shown_lines(); ++k) {
        const std::string_view line = text.line(k);
        require(line.data() >= text.buffer.data() && line.data() + line.size() <= text.buffer.data() + text.buffer.size(),
                "every line lies inside the buffer");
    }
    for (float s = -200.0f; s < 7.0f * static_cast<float>(text.shown_lines()); s += 150.0f)
        draw_credits_text(sys, text, s);
    return 0;
}

}  // namespace qvar::fuzz
