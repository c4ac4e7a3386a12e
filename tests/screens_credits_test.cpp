// Credits: the scrambling key, loading and cutting c2.dat, the text band and the exits.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "screens/credits.h"
#include "screens_support.h"
#include "test_support.h"

using namespace qvar;

namespace {

std::vector<uint8_t> bytes_of(const std::string& s) { return {s.begin(), s.end()}; }

void write_credits(const test::TestRig& rig, const std::string& plain) {
    test::write_bytes(rig.sys->paths.data("c2.dat"), credits_scramble(bytes_of(plain)));
}

}  // namespace

TEST(CreditsKey, SquaresModulo255WithPeriod255) {
    EXPECT_EQ(credits_key(0), 0);
    EXPECT_EQ(credits_key(1), 1);
    EXPECT_EQ(credits_key(15), 225);
    EXPECT_EQ(credits_key(16), 1);  // 256 mod 255
    EXPECT_EQ(credits_key(100), 10000 % 255);
    for (uint64_t i = 0; i < 2000; ++i) ASSERT_EQ(credits_key(i), credits_key(i + 255)) << i;
    // Positions whose square does not fit 32 bits still follow the rule.
    const uint64_t big = 100000;
    EXPECT_EQ(credits_key(big), static_cast<uint8_t>((big * big) % 255));
}

TEST(CreditsText, UnscramblesLinesEndedByCarriageReturns) {
    const std::vector<uint8_t> plain = bytes_of("First line\rSecond\n2\r\rno end");
    const std::vector<uint8_t> stored = credits_scramble(plain);
    EXPECT_NE(stored, plain);
    EXPECT_EQ(credits_scramble(stored), plain);
    auto text = std::make_unique<CreditsText>();
    load_credits_text(stored, *text);
    ASSERT_EQ(text->shown_lines(), 3);
    EXPECT_EQ(text->line(0), "First line");
    EXPECT_EQ(text->line(1), "Second\n2");
    EXPECT_EQ(text->line(2), "");
    EXPECT_EQ(text->line(3), "");  // the unfinished tail is never shown
    EXPECT_EQ(text->line(-1), "");

    load_credits_text({}, *text);  // nothing read: no lines, and old lines are gone
    EXPECT_EQ(text->shown_lines(), 0);
}

TEST(CreditsText, LongFilesAreCutAtTheBufferAndTheLineTable) {
    auto text = std::make_unique<CreditsText>();
    // 2000 lines of 9 characters: the table holds 500 starts, so 499 lines show.
    std::string many;
    for (int i = 0; i < 2000; ++i) many += "line " + std::to_string(1000 + i) + "\r";
    load_credits_text(credits_scramble(bytes_of(many)), *text);
    ASSERT_EQ(text->shown_lines(), 499);
    EXPECT_EQ(text->line(0), "line 1000");
    EXPECT_EQ(text->line(498), "line 1498");

    // 300 lines of 60 characters and a carriage return: 18300 bytes. The buffer takes 15000,
    // which holds 245 whole lines; the 246th, cut by the buffer's end, is not shown.
    std::string wide;
    for (int i = 0; i < 300; ++i) wide += std::string(56, 'a') + std::to_string(1000 + i) + "\r";
    load_credits_text(credits_scramble(bytes_of(wide)), *text);
    ASSERT_EQ(text->shown_lines(), 245);
    EXPECT_EQ(text->line(244), std::string(56, 'a') + "1244");

    // One carriage return as the buffer's very last byte still ends a shown line.
    std::string exact(14999, 'b');
    exact += "\rmore";
    load_credits_text(credits_scramble(bytes_of(exact)), *text);
    ASSERT_EQ(text->shown_lines(), 1);
    EXPECT_EQ(text->line(0).size(), 14999u);

    // No carriage return at all in 20000 bytes: nothing to show.
    load_credits_text(credits_scramble(std::vector<uint8_t>(20000, 'c')), *text);
    EXPECT_EQ(text->shown_lines(), 0);
}

TEST(CreditsText, ZeroByteEndsItsLineEarly) {
    auto text = std::make_unique<CreditsText>();
    std::vector<uint8_t> plain = bytes_of("abc_def\rxyz\r");
    plain[3] = 0;
    load_credits_text(credits_scramble(plain), *text);
    ASSERT_EQ(text->shown_lines(), 2);
    EXPECT_EQ(text->line(0), "abc");
    EXPECT_EQ(text->line(1), "xyz");
}

namespace {

// Runs the screen until frame `frames` is presented and returns that frame.
std::array<uint8_t, 64000> credits_frame(test::TestRig& rig, uint64_t frames) {
    std::array<uint8_t, 64000> shot{};
    rig.platform.set_frame_hook([&](HeadlessPlatform& p, uint64_t frame) {
        if (frame != frames) return;
        shot = p.last_frame();
        test::post_char(p, ' ');
    });
    show_credits(*rig.sys);
    EXPECT_EQ(rig.platform.frames_presented(), frames);
    return shot;
}

}  // namespace

TEST(CreditsScreen, TextScrollsOverTheSameStarsAndAMissingFileShowsStarsAlone) {
    test::TestRig with_text;
    write_credits(with_text, "Centre\rNext\r");
    test::TestRig without;
    std::filesystem::remove(without.sys->paths.data("c2.dat"));
    // After 1000 frames s is close to -100: line 0 at row ~100, line 1 seven rows lower.
    const auto a = credits_frame(with_text, 1001);
    const auto b = credits_frame(without, 1001);
    int differing = 0;
    for (int y = 0; y < SCREEN_HEIGHT; ++y) {
        for (int x = 0; x < SCREEN_WIDTH; ++x) {
            if (a[static_cast<size_t>(y * 320 + x)] == b[static_cast<size_t>(y * 320 + x)]) continue;
            ++differing;
            EXPECT_TRUE(y >= 98 && y <= 112 && x >= 140 && x <= 180) << x << "," << y;
        }
    }
    EXPECT_GT(differing, 20);
    EXPECT_GT(test::count_colour(a.data(), 140, 98, 180, 106, 31), 5);  // brightest at mid-screen
}

TEST(CreditsScreen, KeyEndsAtOnceClickWaitsForRelease) {
    test::TestRig keyed;
    keyed.sys->input.char_typed = 1;  // a key already typed: not a single frame
    show_credits(*keyed.sys);
    EXPECT_EQ(keyed.platform.frames_presented(), 0u);

    test::TestRig held;
    held.sys->input.mouse_buttons = MOUSE_LEFT;  // the menu's click is released first
    held.platform.at_time(500, [](HeadlessPlatform& p) { p.set_buttons(0); });
    uint64_t first_at = 0;
    uint64_t release_at = 0;
    held.platform.set_frame_hook([&](HeadlessPlatform& p, uint64_t frame) {
        if (frame == 1) first_at = p.now_ms();
        if (frame != 10) return;
        p.set_buttons(MOUSE_RIGHT);
        release_at = p.now_ms() + 3000;
        p.at_time(release_at, [](HeadlessPlatform& q) { q.set_buttons(0); });
    });
    show_credits(*held.sys);
    EXPECT_GE(first_at, 500u);
    EXPECT_EQ(held.platform.frames_presented(), 10u);
    EXPECT_GE(held.platform.now_ms(), release_at);
}

TEST(CreditsScreen, QuitRequestThrows) {
    test::TestRig rig;
    rig.platform.set_frame_hook([](HeadlessPlatform& p, uint64_t frame) {
        if (frame == 3) p.request_quit();
    });
    EXPECT_THROW(show_credits(*rig.sys), QuitRequested);
}
