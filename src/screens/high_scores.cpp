// High-score table: file image, placing a new score, and the high-score screen.
#include "screens/high_scores.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "gfx/text.h"
#include "util/numeric.h"

namespace qvar {

std::vector<uint8_t> high_score_bytes(const HighScoreTable& table) {
    std::vector<uint8_t> bytes;
    bytes.reserve(HIGH_SCORE_FILE_SIZE);
    for (size_t i = 0; i < static_cast<size_t>(HIGH_SCORE_COUNT); ++i) {
        for (char c : table.names[i]) bytes.push_back(static_cast<uint8_t>(c));
        const auto s = static_cast<uint32_t>(table.scores[i]);
        for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<uint8_t>(s >> shift));
    }
    return bytes;
}

HighScoreTable parse_high_scores(const std::vector<uint8_t>& bytes) {
    HighScoreTable table;
    const size_t whole = bytes.size() / HIGH_SCORE_RECORD;
    for (size_t i = 0; i < whole && i < static_cast<size_t>(HIGH_SCORE_COUNT); ++i) {
        const uint8_t* rec = bytes.data() + i * HIGH_SCORE_RECORD;
        std::memcpy(table.names[i].data(), rec, static_cast<size_t>(NAME_LENGTH));
        const uint8_t* s = rec + NAME_LENGTH;
        const uint32_t bits = static_cast<uint32_t>(s[0]) | static_cast<uint32_t>(s[1]) << 8 |
                              static_cast<uint32_t>(s[2]) << 16 | static_cast<uint32_t>(s[3]) << 24;
        table.scores[i] = static_cast<int32_t>(bits);
    }
    return table;
}

HighScoreTable read_high_scores(const Paths& paths) {
    auto bytes = read_file(paths.user(HIGH_SCORE_FILE));
    if (!bytes) return HighScoreTable{};
    return parse_high_scores(*bytes);
}

bool write_high_scores(const Paths& paths, const HighScoreTable& table) {
    return write_file_atomic(paths.user(HIGH_SCORE_FILE), high_score_bytes(table));
}

std::string_view name_text(const NameBuffer& name) {
    return {name.data(), strnlen(name.data(), static_cast<size_t>(NAME_MAX_CHARS))};
}

void copy_name(NameBuffer& to, const NameBuffer& from) {
    const std::string_view text = name_text(from);
    std::memcpy(to.data(), text.data(), text.size());
    to[text.size()] = '\0';
}

const char* ordinal_suffix(int32_t n) {
    const int32_t units = n % 10;
    const int32_t tens_and_units = n % 100;
    if (units == 1 && tens_and_units != 11) return "st";
    if (units == 2 && tens_and_units != 12) return "nd";
    if (units == 3 && tens_and_units != 13) return "rd";
    return "th";
}

int32_t high_score_place(const HighScoreTable& table, int32_t score) {
    int32_t p = HIGH_SCORE_COUNT;
    while (p > 0 && table.scores[static_cast<size_t>(p - 1)] <= score) --p;
    return p;
}

void open_high_score_slot(HighScoreTable& table, int32_t place) {
    if (place < 0 || place >= HIGH_SCORE_COUNT) return;
    for (int32_t i = HIGH_SCORE_COUNT - 1; i > place; --i) {
        const auto to = static_cast<size_t>(i);
        copy_name(table.names[to], table.names[to - 1]);
        table.scores[to] = table.scores[to - 1];
    }
    table.names[static_cast<size_t>(place)][0] = '\0';
}

void draw_high_scores(System& sys, const HighScoreTable& table, float t) {
    FrameBuffer& fb = sys.frame;
    char text[NAME_LENGTH];
    const int32_t hue = mod_floor(trunc_i32(t), 24);
    draw_text(fb, sys.font, SCREEN_WIDTH / 2 - 15, 0, NO_WRAP, "High Scores", low_byte(32 + hue),
              low_byte(104 + hue));
    for (int32_t i = 0; i < HIGH_SCORE_COUNT; ++i) {
        const auto row = static_cast<size_t>(i);
        const int32_t y = 15 + 8 * i;
        const int32_t w = trunc_i32(5.0f * std::sin(static_cast<float>(i) + t));
        std::snprintf(text, sizeof text, "%d.", i + 1);
        draw_text(fb, sys.font, 60 + w, y, NO_WRAP, text, 15, 7);
        const std::string_view name = name_text(table.names[row]);
        std::snprintf(text, sizeof text, "%.*s", static_cast<int>(name.size()), name.data());
        draw_text(fb, sys.font, 70 + w, y, NO_WRAP, text, low_byte(32 + i % 24), low_byte(104 + i % 24));
        std::snprintf(text, sizeof text, "%d", table.scores[row]);
        draw_text(fb, sys.font, 210 + w, y, NO_WRAP, text, low_byte(31 - (12 * i) / 20),
                  low_byte(24 - (6 * i) / 20));
    }
    draw_text(fb, sys.font, 30, SCREEN_HEIGHT - 10, NO_WRAP, "Press any key or click mouse to continue", 24, 20);
}

void show_high_scores(System& sys) {
    const HighScoreTable table = read_high_scores(sys.paths);
    // The key or click that opened the screen must not close it at once.
    wait_all_released(sys);
    float t = 0.0f;
    bool done = false;
    while (!done) {
        draw_high_scores(sys, table, t);
        done = sys.input.mouse_buttons != 0 || sys.input.char_typed != 0;
        present_frame(sys);
        pump_or_quit(sys);
        delay_ms(sys, 10);
        t += 0.1f;
    }
    // The dismissing click must not reach the menu.
    wait_buttons_released(sys);
}

}  // namespace qvar
