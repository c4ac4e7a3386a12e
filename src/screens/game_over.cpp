// Game over and name entry.
#include "screens/game_over.h"

#include <cstdio>

#include "gfx/text.h"
#include "screens/screens.h"
#include "store/high_score_file.h"
#include "store/score_links.h"
#include "util/numeric.h"

namespace qvar {

namespace {

constexpr int32_t NAME_MARGIN = SCREEN_WIDTH - 25;  // a name with spaces wraps onto new lines

struct GameOverTexts {
    char final_text[NAME_LENGTH];
    char place_text[40];
};

void game_over_title(System& sys, uint8_t colour, uint8_t shade) {
    draw_text(sys.frame, sys.font, 145, 100, NO_WRAP, "GAME OVER", colour, shade);
}

// Both fades step the grey ramp from black to white, the shade at half the pace.
void fade_in(System& sys, const char* final_text) {
    for (int32_t i = 0; i < 16; ++i) {
        game_over_title(sys, low_byte(16 + i), low_byte(16 + i / 2));
        present_frame(sys);
        delay_ms(sys, 100);
    }
    for (int32_t i = 0; i < 16; ++i) {
        game_over_title(sys, 31, 23);
        draw_text(sys.frame, sys.font, 30, 140, NO_WRAP, final_text, low_byte(16 + i), low_byte(16 + i / 2));
        present_frame(sys);
        delay_ms(sys, 100);
    }
}

// One frame per character received; there is no delay between them.
void take_name(System& sys, const GameOverTexts& texts, NameBuffer& name) {
    sys.platform.set_input_mode(InputMode::Text);
    int32_t length = 0;
    for (;;) {
        game_over_title(sys, 31, 23);
        draw_text(sys.frame, sys.font, 30, 140, NO_WRAP, texts.final_text, 31, 23);
        draw_text(sys.frame, sys.font, 160, 140, NO_WRAP, texts.place_text, 11, 3);
        draw_text(sys.frame, sys.font, 160, 150, NAME_MARGIN, name_text(name), 13, 5);
        present_frame(sys);
        wait_while_char_typed(sys);
        wait_until_char_typed(sys);
        if (name_entry_key(name, length, to_lower(static_cast<char>(sys.input.last_char)))) return;
    }
}

// The saved score keeps its game's recording; a failure to link it costs only the proof.
void keep_recording(System& sys, int32_t score, const NameBuffer& name) {
    if (sys.recorder == nullptr) return;
    if (const FileResult linked = keep_game_recording(*sys.recorder, sys.paths, score, name); !linked)
        std::fprintf(stderr, "qvar: could not link the game's recording to its high score: %s\n",
                     linked.reason.c_str());
}

}  // namespace

bool name_entry_key(NameBuffer& name, int32_t& length, char c) {
    if (c == 13) return true;
    if (length > 0 && c == 8) {
        --length;
        name[static_cast<size_t>(length)] = '\0';
    } else if (length < NAME_MAX_CHARS) {
        name[static_cast<size_t>(length)] = c;
        ++length;
        name[static_cast<size_t>(length)] = '\0';
    }
    return false;
}

void run_game_over(System& sys, int32_t score, int32_t level) {
    sys.sparks.count = 0;
    sys.platform.set_input_mode(InputMode::PressAnyKey);
    present_frame(sys);
    GameOverTexts texts{};
    std::snprintf(texts.final_text, sizeof texts.final_text, "Final score:  %d  on level  %d", score, level);
    fade_in(sys, texts.final_text);
    // The fades read no input: what was typed or clicked during them, even in their last
    // delay, is gone, and the name entry or the wait for a key starts from what follows.
    forget_unseen_input(sys);
    HighScoreTable table = read_high_scores(sys.paths);
    const int32_t p = high_score_place(table, score);
    if (p < HIGH_SCORE_COUNT) {
        std::snprintf(texts.place_text, sizeof texts.place_text, "New high-score: %d%s place", p + 1,
                      ordinal_suffix(p + 1));
        open_high_score_slot(table, p);
        NameBuffer& name = table.names[static_cast<size_t>(p)];
        take_name(sys, texts, name);
        // Placed into the table as it is on disk now: another instance may have saved a
        // score while this player was typing.
        if (const FileResult saved = save_high_score(sys.paths, score, name); !saved)
            notice_save_failure(sys, HIGH_SCORE_FILE, "the high scores", saved);
        else
            keep_recording(sys, score, name);
    } else {
        // Any character key; clicks do not end it. A key still held from the game may count.
        wait_until_char_typed(sys);
    }
    if (sys.recorder != nullptr) discard_game_recording(*sys.recorder);  // kept above, or not kept
    show_high_scores(sys);
}

}  // namespace qvar
