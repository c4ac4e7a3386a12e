// Credits: loading and cutting c2.dat, the text band and a click's exit. (The scrambling key:
// the built credits' test, which unscrambles the asset compiler's own scrambling.)
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "screens/credits.h"
#include "screens_support.h"

using namespace qvar;

namespace {

std::vector<uint8_t> scrambled(const std::string& plain) { return credits_scramble({plain.begin(), plain.end()}); }

}  // namespace

TEST(CreditsText, UnscramblesLinesEndedByCarriageReturns) {
    const std::string plain("First line\rSecond\n2\r\rab\0cd\rno end", 32);
    auto text = std::make_unique<CreditsText>();
    load_credits_text(scrambled(plain), *text);
    ASSERT_EQ(text->shown_lines(), 4);
    // A zero byte ends its line early; the unfinished tail is never shown.
    for (auto [i, want] : {std::pair{0, "First line"}, {1, "Second\n2"}, {2, ""}, {3, "ab"}, {4, ""}})
        EXPECT_EQ(text->line(i), want) << i;
    load_credits_text({}, *text);    // nothing read: no lines, and the old ones are gone
    EXPECT_EQ(text->shown_lines(), 0);
}

TEST(CreditsText, LongFilesAreCutAtTheBufferAndTheLineTable) {
    std::string many, wide;
    for (int i = 0; i < 2000; ++i) many += "line " + std::to_string(1000 + i) + "\r";
    for (int i = 0; i < 300; ++i) wide += std::string(56, 'a') + std::to_string(1000 + i) + "\r";
    struct Case { std::string plain; int32_t shown; std::string last; };
    const Case cases[] = {
        {many, 499, "line 1498"},                    // the table holds 500 line starts
        {wide, 245, std::string(56, 'a') + "1244"},  // 18300 bytes: 15000 hold 245 whole lines
        {std::string(14999, 'b') + "\rmore", 1, std::string(14999, 'b')},  // ended by the last byte
        {std::string(20000, 'c'), 0, ""},            // no carriage return at all
    };
    auto text = std::make_unique<CreditsText>();
    for (const Case& c : cases) {
        load_credits_text(scrambled(c.plain), *text);
        ASSERT_EQ(text->shown_lines(), c.shown);
        EXPECT_EQ(text->line(c.shown - 1), c.last) << c.shown;
    }
}

TEST(CreditsScreen, TextScrollsOverTheSameStarsAndAMissingFileShowsStarsAlone) {
    // Frame 1001 of a run with two lines and of one without c2.dat; a key then ends each run.
    test::Frame shots[2]{};
    for (int with_text = 0; with_text < 2; ++with_text) {
        test::ScreenRig rig;
        std::filesystem::remove(rig.sys->paths.data("c2.dat"));
        if (with_text) test::write_bytes(rig.sys->paths.data("c2.dat"), scrambled("Centre\rNext\r"));
        rig.platform.set_frame_hook([&](HeadlessPlatform& p, uint64_t frame) {
            if (frame == 1001) { shots[with_text] = p.last_frame(); test::post_char(p, ' '); }
        });
        show_credits(*rig.sys);
    }
    // By then s is close to -100: line 0 at row ~100, line 1 seven rows lower.
    int differing = 0;
    for (int i = 0; i < SCREEN_WIDTH * SCREEN_HEIGHT; ++i) {
        if (shots[0][i] == shots[1][i]) continue;
        ++differing;
        EXPECT_TRUE(i / 320 >= 98 && i / 320 <= 112 && i % 320 >= 140 && i % 320 <= 180) << i;
    }
    EXPECT_GT(differing, 20);
    EXPECT_GT(test::count_colour(shots[1].data(), 140, 98, 180, 106, 31), 5);  // brightest at mid-screen
}

// Opened with the menu's click still held, the screen waits for its release; a click then ends
// it once let go. (Its other exits are the recordings'.)
TEST(CreditsScreen, AClickEndsItOnceLetGo) {
    test::ScreenRig rig;
    rig.sys->input.mouse_buttons = MOUSE_LEFT;
    rig.platform.at_time(1000, [](HeadlessPlatform& p) { p.set_buttons(0); });
    rig.platform.set_frame_hook([](HeadlessPlatform& p, uint64_t frame) {
        if (frame != 3) return;
        p.set_buttons(MOUSE_RIGHT);
        p.at_time(p.now_ms() + 2000, [](HeadlessPlatform& q) { q.set_buttons(0); });
    });
    show_credits(*rig.sys);
    EXPECT_EQ(std::make_tuple(rig.platform.frames_presented(), rig.platform.now_ms() >= 3000, rig.sys->input.mouse_buttons),
              std::make_tuple(uint64_t{3}, true, 0u));
}
