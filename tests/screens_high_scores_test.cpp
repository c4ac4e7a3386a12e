// High-score table: suffixes, placing, the file image, damaged files and the screen's waits.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

#include "screens/high_scores.h"
#include "screens_support.h"
#include "test_support.h"

using namespace qvar;
using qvar::test::sample_table;

TEST(OrdinalSuffix, PlacesOneToTwentyAndBeyond) {
    const char* expected[21] = {"",   "st", "nd", "rd", "th", "th", "th", "th", "th", "th", "th",
                                "th", "th", "th", "th", "th", "th", "th", "th", "th", "th"};
    for (int n = 1; n <= 20; ++n) EXPECT_STREQ(ordinal_suffix(n), expected[n]) << n;
    EXPECT_STREQ(ordinal_suffix(21), "st");
    EXPECT_STREQ(ordinal_suffix(22), "nd");
    EXPECT_STREQ(ordinal_suffix(23), "rd");
    EXPECT_STREQ(ordinal_suffix(101), "st");
    EXPECT_STREQ(ordinal_suffix(111), "th");
    EXPECT_STREQ(ordinal_suffix(112), "th");
    EXPECT_STREQ(ordinal_suffix(113), "th");
    EXPECT_STREQ(ordinal_suffix(121), "st");
    EXPECT_STREQ(ordinal_suffix(1001), "st");
    EXPECT_STREQ(ordinal_suffix(1013), "th");
}

TEST(HighScorePlace, EqualScoresGoBelowTheNewOne) {
    HighScoreTable t = sample_table();  // 2000, 1900, ..., 100
    EXPECT_EQ(high_score_place(t, 5000), 0);
    EXPECT_EQ(high_score_place(t, 2000), 0);   // equal to the best: new first place
    EXPECT_EQ(high_score_place(t, 1999), 1);
    EXPECT_EQ(high_score_place(t, 1500), 5);   // five strictly higher
    EXPECT_EQ(high_score_place(t, 100), 19);   // equal to the twentieth still enters
    EXPECT_EQ(high_score_place(t, 99), 20);    // lower than all twenty
    EXPECT_EQ(high_score_place(HighScoreTable{}, 0), 0);  // a table of zeros takes even 0
    EXPECT_EQ(high_score_place(HighScoreTable{}, -1), 20);
}

TEST(HighScorePlace, OpeningASlotShiftsDownAndLosesTheLast) {
    HighScoreTable t = sample_table();
    open_high_score_slot(t, 5);
    EXPECT_EQ(name_text(t.names[4]), "p4");
    EXPECT_EQ(name_text(t.names[5]), "");
    EXPECT_EQ(t.names[5][1], '5');  // only the first byte is cleared
    EXPECT_EQ(name_text(t.names[6]), "p5");
    EXPECT_EQ(t.scores[6], 1500);
    EXPECT_EQ(name_text(t.names[19]), "p18");
    EXPECT_EQ(t.scores[19], 200);
    // The copy is a zero-terminated text: the bytes behind it stay as they were.
    EXPECT_EQ(t.names[6][3], 'z');

    HighScoreTable last = sample_table();
    open_high_score_slot(last, 19);
    EXPECT_EQ(name_text(last.names[18]), "p18");
    EXPECT_EQ(name_text(last.names[19]), "");
}

TEST(HighScorePlace, UnterminatedNameIsCutWhenMoved) {
    HighScoreTable t;
    t.names[0].fill('q');  // a damaged file: no terminator in 50 bytes
    t.names[1].fill('r');
    EXPECT_EQ(name_text(t.names[0]).size(), 49u);
    open_high_score_slot(t, 0);
    EXPECT_EQ(name_text(t.names[1]), std::string(49, 'q'));
    EXPECT_EQ(t.names[1][49], '\0');
}

TEST(HighScoreFile, RoundTripKeepsEveryByte) {
    test::TestRig rig;
    HighScoreTable t = sample_table();
    t.scores[0] = INT32_MAX;
    t.scores[1] = 0x01020304;
    t.scores[19] = INT32_MIN;
    t.names[7].fill('\xff');  // unterminated, high bytes
    ASSERT_TRUE(write_high_scores(rig.sys->paths, t));
    auto bytes = test::read_bytes(rig.sys->paths.user("hiscores.dat"));
    ASSERT_EQ(bytes.size(), 1080u);
    EXPECT_EQ(bytes[54 + 50], 0x04);  // record 1's score, little-endian
    EXPECT_EQ(bytes[54 + 53], 0x01);
    EXPECT_EQ(bytes[54 + 0], 'p');
    EXPECT_EQ(bytes[54 + 1], '1');
    EXPECT_EQ(bytes[54 + 2], 0);
    EXPECT_EQ(bytes[54 + 3], 'z');  // bytes after the terminator are written as held
    EXPECT_EQ(bytes[54 * 7 + 49], 0xff);
    HighScoreTable back = read_high_scores(rig.sys->paths);
    EXPECT_EQ(back.names, t.names);
    EXPECT_EQ(back.scores, t.scores);
    EXPECT_EQ(high_score_bytes(back), bytes);
}

TEST(HighScoreFile, MissingShortAndLongFiles) {
    test::TestRig rig;
    HighScoreTable missing = read_high_scores(rig.sys->paths);
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(name_text(missing.names[static_cast<size_t>(i)]), "");
        EXPECT_EQ(missing.scores[static_cast<size_t>(i)], 0);
    }

    const std::vector<uint8_t> full = high_score_bytes(sample_table());
    auto cut = [&](size_t n) { return std::vector<uint8_t>(full.begin(), full.begin() + static_cast<long>(n)); };

    HighScoreTable t100 = parse_high_scores(cut(100));  // one whole record and a piece
    EXPECT_EQ(name_text(t100.names[0]), "p0");
    EXPECT_EQ(t100.scores[0], 2000);
    EXPECT_EQ(name_text(t100.names[1]), "");
    EXPECT_EQ(t100.scores[1], 0);

    HighScoreTable t1079 = parse_high_scores(cut(1079));  // the last score's top byte missing
    EXPECT_EQ(name_text(t1079.names[18]), "p18");
    EXPECT_EQ(t1079.scores[18], 200);
    EXPECT_EQ(name_text(t1079.names[19]), "");
    EXPECT_EQ(t1079.scores[19], 0);

    std::vector<uint8_t> longer = full;
    longer.resize(1500, 0x41);
    EXPECT_EQ(high_score_bytes(parse_high_scores(longer)), full);
    EXPECT_EQ(high_score_bytes(parse_high_scores({})), std::vector<uint8_t>(1080, 0));
}

TEST(HighScoreScreen, UnterminatedNameShowsFortyNineCharacters) {
    test::TestRig rig;
    HighScoreTable damaged;
    damaged.names[0].fill('m');
    damaged.names[1].fill('w');  // would be read on if the first name were not bounded
    HighScoreTable sound = damaged;
    sound.names[0][49] = '\0';
    draw_high_scores(*rig.sys, damaged, 0.0f);
    FrameBuffer a = rig.sys->frame;
    rig.sys->frame.clear();
    draw_high_scores(*rig.sys, sound, 0.0f);
    EXPECT_EQ(a.pixels, rig.sys->frame.pixels);
}

TEST(HighScoreScreen, RowsWobbleTruncatedTowardZero) {
    test::TestRig rig;
    draw_high_scores(*rig.sys, sample_table(), 0.0f);
    const FrameBuffer& f = rig.sys->frame;
    auto first_lit = [&](int y) {
        for (int x = 0; x < SCREEN_WIDTH; ++x)
            if (f.at(x, y) != 0) return x;
        return -1;
    };
    // Row i sits at y = 15 + 8i, its place at x = 60 + trunc(5 sin i).
    EXPECT_EQ(first_lit(15), 60);       // sin 0 = 0
    EXPECT_EQ(first_lit(23), 64);       // 5 sin 1 = 4.2
    EXPECT_EQ(first_lit(39), 60);       // 5 sin 3 = 0.7
    EXPECT_EQ(first_lit(47), 57);       // 5 sin 4 = -3.8 goes to -3, not -4
    EXPECT_EQ(f.at(60, 15), 15);        // place numbers white on grey
    EXPECT_TRUE(test::shows_text(f.pixels.data(), rig.sys->font, 30, 190,
                                 "Press any key or click mouse to continue", 24, 20));
    EXPECT_TRUE(test::shows_text(f.pixels.data(), rig.sys->font, 145, 0, "High Scores", 32, 104));
    EXPECT_TRUE(test::shows_text(f.pixels.data(), rig.sys->font, 210 + 4, 23, "1900", 31, 24));
}

TEST(HighScoreScreen, WaitsForReleaseThenEndsOnKeyAndOnClickAfterRelease) {
    test::TestRig rig;
    rig.platform.set_idle_quit_ms(60000);
    ASSERT_TRUE(write_high_scores(rig.sys->paths, sample_table()));
    rig.sys->input.mouse_buttons = MOUSE_LEFT;  // the click that opened the screen is still held
    rig.platform.at_time(1000, [](HeadlessPlatform& p) { p.set_buttons(0); });
    uint64_t first_frame_at = 0;
    rig.platform.set_frame_hook([&](HeadlessPlatform& p, uint64_t frame) {
        if (frame == 1) first_frame_at = p.now_ms();
        if (frame == 5) test::post_char(p, 'x');
    });
    show_high_scores(*rig.sys);
    EXPECT_GE(first_frame_at, 1000u);
    EXPECT_EQ(rig.platform.frames_presented(), 6u);  // the key is seen in frame 6

    test::TestRig rig2;
    rig2.platform.set_idle_quit_ms(60000);
    uint64_t released_at = 0;
    rig2.platform.set_frame_hook([&](HeadlessPlatform& p, uint64_t frame) {
        if (frame != 3) return;
        p.set_buttons(MOUSE_LEFT);
        released_at = p.now_ms() + 2000;
        p.at_time(released_at, [](HeadlessPlatform& q) { q.set_buttons(0); });
    });
    show_high_scores(*rig2.sys);
    EXPECT_EQ(rig2.platform.frames_presented(), 4u);
    EXPECT_GE(rig2.platform.now_ms(), released_at);
    EXPECT_EQ(rig2.sys->input.mouse_buttons, 0u);
}

TEST(HighScoreScreen, QuitRequestThrows) {
    test::TestRig rig;
    rig.platform.at_time(300, [](HeadlessPlatform& p) { p.request_quit(); });
    EXPECT_THROW(show_high_scores(*rig.sys), QuitRequested);
}
