// High-score table: suffixes, placing, the file image, damaged files and the screen's rows.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>

#include "screens/high_scores.h"
#include "screens_support.h"

using namespace qvar;

TEST(OrdinalSuffix, PlacesOneToTwentyAndBeyond) {
    const std::pair<int32_t, const char*> cases[] = {{1, "st"},   {2, "nd"},   {3, "rd"},   {4, "th"},   {11, "th"},
                                                     {12, "th"},  {13, "th"},  {20, "th"},  {21, "st"},  {22, "nd"},
                                                     {23, "rd"},  {101, "st"}, {111, "th"}, {112, "th"}, {113, "th"},
                                                     {121, "st"}, {1001, "st"}, {1013, "th"}};
    for (const auto& [n, suffix] : cases) EXPECT_STREQ(ordinal_suffix(n), suffix) << n;
}

TEST(HighScorePlace, OpeningASlotShiftsDownLosesTheLastAndCutsDamagedNames) {
    HighScoreTable t = test::sample_table();
    t.names[5][3] = 'y';
    open_high_score_slot(t, 5);
    EXPECT_EQ(std::string(t.names[5].data(), 4), std::string("\0" "5\0y", 4));  // only the first byte cleared
    EXPECT_EQ(std::string(t.names[6].data(), 4), std::string("p5\0z", 4));  // only the text and its end copied
    EXPECT_EQ(t.scores[6], 1500);
    EXPECT_EQ(name_text(t.names[19]), "p18");
    t.names[0].fill('q');  // a damaged name with no terminator shows and moves as 49 characters
    EXPECT_EQ(name_text(t.names[0]), std::string(49, 'q'));
    open_high_score_slot(t, 0);
    EXPECT_EQ(std::string(t.names[1].data(), 50), std::string(49, 'q') + '\0');
    open_high_score_slot(t, 19);
    EXPECT_EQ(name_text(t.names[18]), "p16");
    EXPECT_EQ(name_text(t.names[19]), "");
}

TEST(HighScoreFile, RoundTripKeepsEveryByte) {
    test::ScreenRig rig;
    HighScoreTable t = test::sample_table();
    t.scores[1] = 0x01020304;
    t.scores[19] = INT32_MIN;
    t.names[7].fill('\xff');  // unterminated, high bytes
    ASSERT_TRUE(write_high_scores(rig.sys->paths, t));
    const auto bytes = test::read_bytes(rig.sys->paths.user("hiscores.dat"));
    ASSERT_EQ(bytes.size(), 1080u);
    // Record 1: its whole name buffer as held, then its score little-endian.
    EXPECT_EQ(std::string(bytes.begin() + 54, bytes.begin() + 108),
              std::string("p1\0", 3) + std::string(47, 'z') + "\x04\x03\x02\x01");
    const HighScoreTable back = read_high_scores(rig.sys->paths);
    EXPECT_EQ(back.names, t.names);
    EXPECT_EQ(back.scores, t.scores);
}

TEST(HighScoreFile, MissingShortAndLongFilesKeepWholeRecordsOnly) {
    test::ScreenRig rig;
    EXPECT_EQ(high_score_bytes(read_high_scores(rig.sys->paths)), std::vector<uint8_t>(1080, 0));  // missing
    const std::vector<uint8_t> full = high_score_bytes(test::sample_table());
    const std::pair<size_t, long> cases[] = {{0, 0}, {53, 0}, {100, 1}, {1079, 19}, {1500, 20}};
    for (const auto& [size, whole] : cases) {
        std::vector<uint8_t> bytes = full, expected = full;
        bytes.resize(size, 0x41);
        std::fill(expected.begin() + 54 * whole, expected.end(), 0);
        EXPECT_EQ(high_score_bytes(parse_high_scores(bytes)), expected) << size;
    }
}

TEST(HighScoreScreen, RowsWobbleTruncatedTowardZero) {
    test::ScreenRig rig;
    draw_high_scores(*rig.sys, test::sample_table(), 0.0f);
    const FrameBuffer& f = rig.sys->frame;
    // Row i sits at y = 15 + 8i, its place at x = 60 + trunc(5 sin i): 0, 4.2, 0.7, -3.8.
    for (auto [y, x] : {std::pair{15, 60}, {23, 64}, {39, 60}, {47, 57}}) {
        const auto row = f.pixels.begin() + y * SCREEN_WIDTH;
        EXPECT_EQ(std::find_if(row, row + SCREEN_WIDTH, [](uint8_t c) { return c != 0; }) - row, x) << y;
    }
    EXPECT_TRUE(test::shows_text(f.pixels.data(), rig.sys->font, 214, 23, "1900", 31, 24));
}
