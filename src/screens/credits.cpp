// Credits screen: unscrambling c2.dat, the star-field and the fading, scrolling lines.
#include "screens/credits.h"

#include <algorithm>
#include <cstdio>
#include <cmath>
#include <cstring>
#include <memory>
#include <numbers>

#include "gfx/data_layout.h"
#include "gfx/draw.h"
#include "gfx/text.h"
#include "util/float_math.h"
#include "util/message_text.h"
#include "util/numeric.h"
#include "util/random.h"

namespace qvar {

uint8_t credits_key(uint64_t i) {
    const uint64_t r = i % 255;  // (i * i) mod 255 without overflow for any i
    return static_cast<uint8_t>((r * r) % 255);
}

std::vector<uint8_t> credits_scramble(const std::vector<uint8_t>& bytes) {
    std::vector<uint8_t> out(bytes.size());
    for (size_t i = 0; i < bytes.size(); ++i) out[i] = static_cast<uint8_t>(bytes[i] ^ credits_key(i));
    return out;
}

std::string_view CreditsText::line(int32_t k) const {
    if (k < 0 || k >= shown_lines()) return {};
    const auto start = static_cast<size_t>(line_starts[static_cast<size_t>(k)]);
    const auto end = static_cast<size_t>(line_starts[static_cast<size_t>(k) + 1]) - 1;  // its terminator
    // A zero byte inside the line ends it early, as it would any zero-terminated text.
    return {buffer.data() + start, strnlen(buffer.data() + start, end - start)};
}

void load_credits_text(const std::vector<uint8_t>& stored, CreditsText& text) {
    text.buffer.fill(0);
    text.line_starts.fill(0);
    text.line_count = 1;
    // Stop when the buffer is full or the table has no room for another line start: the
    // unfinished line at the cut is never shown, so nothing is read or written past either.
    const size_t limit = std::min(stored.size(), static_cast<size_t>(CREDITS_BUFFER_SIZE));
    for (size_t i = 0; i < limit && text.line_count < CREDITS_LINE_STARTS; ++i) {
        const auto c = static_cast<uint8_t>(stored[i] ^ credits_key(i));
        text.buffer[i] = static_cast<char>(c);
        if (c != 13) continue;
        text.buffer[i] = '\0';
        text.line_starts[static_cast<size_t>(text.line_count)] = static_cast<int32_t>(i + 1);
        ++text.line_count;
    }
}

std::vector<uint8_t> read_credits_file(const Paths& paths) {
    // Only the first bytes that fit the text buffer are ever used: read no more than those.
    const std::string path = paths.data(CREDITS_FILE);
    FileRead read = read_file(path, static_cast<size_t>(CREDITS_BUFFER_SIZE), Oversize::Cut);
    if (read.ok()) return std::move(read.bytes);
    // The credits are not needed to play: without them the stars fly alone.
    if (read.problem != FileProblem::Missing)
        std::fprintf(stderr, "qvar: cannot read %s (%s); the credits show no text\n", printable(path).c_str(),
                     read.reason.c_str());
    return {};
}

void reset_stars(StarField& stars) {
    stars.z.fill(-1.0f);
}

namespace {

// A new star somewhere in the distance: depth scale d is uniform in its logarithm over 1..100.
void spawn_star(Random& rng, StarField& s, size_t i) {
    const float u = random_real(rng, 1.0f);
    s.d[i] = power(100.0f, u);
    s.z[i] = 10.0f * s.d[i];
    s.x[i] = random_real(rng, s.z[i]) - s.z[i] / 2.0f;
    s.y[i] = random_real(rng, s.z[i]) - s.z[i] / 2.0f;
}

}  // namespace

void step_stars(System& sys, StarField& s) {
    constexpr auto W = static_cast<float>(SCREEN_WIDTH);
    for (size_t i = 0; i < static_cast<size_t>(STAR_COUNT); ++i) {
        s.z[i] -= 0.15f;
        // z is tested first, so the view tests never divide by a depth of zero or less.
        if (s.z[i] <= 0.0f || std::fabs(s.x[i] / s.z[i]) > 0.5f || std::fabs(s.y[i] / s.z[i]) > 0.3125f)
            spawn_star(sys.rng, s, i);
        int32_t b = trunc_i32(31.5f - 1.5f * s.z[i] / s.d[i]);
        b = b < 16 ? 16 : (b > 31 ? 31 : b);
        const float sx = W * s.x[i] / s.z[i] + W / 2.0f;
        const float sy = W * s.y[i] / s.z[i] + static_cast<float>(SCREEN_HEIGHT) / 2.0f;
        plot_soft_dot(sys.frame, sx, sy, static_cast<float>(b));
    }
}

void draw_credits_text(System& sys, const CreditsText& text, float s) {
    constexpr float PI = std::numbers::pi_v<float>;
    for (int32_t k = 0; k < text.shown_lines(); ++k) {
        const int32_t ty = trunc_i32(static_cast<float>(7 * k) - s);
        if (ty < 0 || ty >= SCREEN_HEIGHT - 5) continue;
        const float f = 1.0f - 1.5f * (1.0f - sine(PI * static_cast<float>(ty + 2) / 200.0f));
        if (!(f > 0.0f)) continue;
        const std::string_view line = text.line(k);
        const int32_t w = text_width(line);
        const int32_t x = trunc_i32(160.0f - 0.5f * static_cast<float>(w));
        draw_text(sys.frame, sys.font, x, ty, NO_WRAP, line, low_byte_of(16.0f + 15.9f * f),
                  low_byte_of(16.0f + 8.0f * f));
    }
}

void show_credits(System& sys) {
    auto text = std::make_unique<CreditsText>();
    auto stars = std::make_unique<StarField>();
    load_credits_text(read_credits_file(sys.paths), *text);
    reset_stars(*stars);
    sys.platform.set_input_mode(InputMode::PressAnyKey);
    wait_buttons_released(sys);
    float s = -200.0f;
    while (sys.input.char_typed == 0 && sys.input.mouse_buttons == 0) {
        step_stars(sys, *stars);
        draw_credits_text(sys, *text, s);
        present_frame(sys);
        pump_or_quit(sys);
        delay_ms(sys, 5);
        s += 0.1f;
    }
    // A key ends the screen at once; after a click, wait for its release (or a key).
    while (sys.input.char_typed == 0 && sys.input.mouse_buttons != 0) pump_or_idle(sys);
}

}  // namespace qvar
