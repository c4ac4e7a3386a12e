// Helpers shared by the screen tests: per-frame input scripts and frame inspection.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string_view>

#include "gfx/frame_buffer.h"
#include "gfx/text.h"
#include "platform/headless_platform.h"
#include "screens/high_scores.h"

namespace qvar::test {

// Actions to run right after given frames are presented (frame numbers count from 1).
class FrameScript {
public:
    FrameScript& at(uint64_t frame, std::function<void(HeadlessPlatform&)> action) {
        actions_[frame] = std::move(action);
        return *this;
    }
    void install(HeadlessPlatform& p) {
        p.set_frame_hook([this](HeadlessPlatform& hp, uint64_t frame) {
            auto it = actions_.find(frame);
            if (it != actions_.end()) it->second(hp);
        });
    }

private:
    std::map<uint64_t, std::function<void(HeadlessPlatform&)>> actions_;
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
    const int w = text_width(text) + 1;
    for (int yy = y; yy < y + GLYPH_HEIGHT; ++yy)
        for (int xx = x; xx < x + w && xx < SCREEN_WIDTH; ++xx)
            if (frame[yy * SCREEN_WIDTH + xx] != ref.at(xx, yy)) return false;
    return true;
}

// A table with descending scores 2000, 1900, ... 100 and names "p0" .. "p19", each buffer
// filled with 'z' after its terminator so that lost or rewritten bytes show.
inline HighScoreTable sample_table() {
    HighScoreTable t;
    for (int i = 0; i < HIGH_SCORE_COUNT; ++i) {
        auto& n = t.names[static_cast<size_t>(i)];
        n.fill('z');
        int len = i < 10 ? 2 : 3;
        n[0] = 'p';
        if (i < 10) {
            n[1] = static_cast<char>('0' + i);
        } else {
            n[1] = '1';
            n[2] = static_cast<char>('0' + i - 10);
        }
        n[static_cast<size_t>(len)] = '\0';
        t.scores[static_cast<size_t>(i)] = 2000 - 100 * i;
    }
    return t;
}

}  // namespace qvar::test
