// Helpers shared by the screen tests: a held character, frame inspection, a sample table.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <string_view>

#include "gfx/frame_buffer.h"
#include "gfx/text.h"
#include "platform/headless_platform.h"
#include "screens/high_scores.h"
#include "test_support.h"

namespace qvar::test {

using Frame = std::array<uint8_t, SCREEN_WIDTH * SCREEN_HEIGHT>;

// A rig whose run ends with a quit after 20 idle seconds, so a screen that misses its exit
// fails its test instead of hanging it.
struct ScreenRig : TestRig {
    ScreenRig() { platform.set_idle_quit_ms(20000); }
};

// Only the character message, with no key release behind it: it stays "typed" until the
// next message, as a key held down does.
inline void post_char(HeadlessPlatform& p, uint8_t c) {
    Message m;
    m.kind = MessageKind::Character;
    m.character = c;
    p.post(m);
}

// How many pixels of the rectangle [x0, x1) x [y0, y1) hold `colour`.
inline int count_colour(const uint8_t* frame, int x0, int y0, int x1, int y1, uint8_t colour) {
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) n += frame[y * SCREEN_WIDTH + x] == colour ? 1 : 0;
    return n;
}

// True when the rectangle of `frame` matches `text` drawn alone at (x, y) with the same colours.
inline bool shows_text(const uint8_t* frame, const Font& font, int x, int y, std::string_view text,
                       uint8_t colour, uint8_t shade) {
    FrameBuffer ref;
    draw_text(ref, font, x, y, NO_WRAP, text, colour, shade);
    for (int yy = y; yy < y + GLYPH_HEIGHT; ++yy)
        for (int xx = x; xx < x + text_width(text) + 1 && xx < SCREEN_WIDTH; ++xx)
            if (frame[yy * SCREEN_WIDTH + xx] != ref.at(xx, yy)) return false;
    return true;
}

// Scores 2000, 1900, ... 100 for names "p0" .. "p19", each buffer filled with 'z' after its
// terminator so that lost or rewritten bytes show.
inline HighScoreTable sample_table() {
    HighScoreTable t;
    for (size_t i = 0; i < HIGH_SCORE_COUNT; ++i) {
        t.names[i].fill('z');
        std::snprintf(t.names[i].data(), t.names[i].size(), "p%zu", i);
        t.scores[i] = 2000 - 100 * static_cast<int32_t>(i);
    }
    return t;
}

}  // namespace qvar::test
