// Game over: the name typed, the table saved only on Enter, and the waits around it.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "screens/game_over.h"
#include "screens/high_scores.h"
#include "screens_support.h"

using namespace qvar;

namespace {

// Frames before name entry: the empty one and the two 16-frame fades.
constexpr uint64_t FADE_FRAMES = 33;

// Types one character after each frame from the first name-entry frame on, then dismisses the
// high-score screen with a key. Returns the entry frame shown after the first three keys.
test::Frame type_after_fades(test::ScreenRig& rig, int32_t score, const std::string& keys) {
    test::Frame entry{};
    rig.platform.set_frame_hook([&](HeadlessPlatform& p, uint64_t frame) {
        if (frame == FADE_FRAMES + 4) entry = p.last_frame();
        const uint64_t k = frame - FADE_FRAMES - 1;
        if (frame > FADE_FRAMES && k < keys.size()) p.type_char(static_cast<uint8_t>(keys[k]));
        if (frame > FADE_FRAMES && k == keys.size()) test::post_char(p, ' ');
    });
    run_game_over(*rig.sys, score, 7);
    return entry;
}

}  // namespace

TEST(GameOver, TypedNameIsSavedInItsPlace) {
    test::ScreenRig rig;
    HighScoreTable expected = test::sample_table();
    ASSERT_TRUE(write_high_scores(rig.sys->paths, expected));
    rig.sys->sparks.count = 77;
    const test::Frame entry = type_after_fades(rig, 1500, "AbX\bc\r");  // ties with the sixth, goes above
    EXPECT_EQ(rig.sys->sparks.count, 0);
    open_high_score_slot(expected, 5);
    std::memcpy(expected.names[5].data(), "abc", 4);  // lower case, "x" taken back
    expected.scores[5] = 1500;
    EXPECT_EQ(test::read_bytes(rig.sys->paths.user("hiscores.dat")), high_score_bytes(expected));
    const Font& font = rig.sys->font;
    // The final text runs on under the place text; its start is clear of it.
    EXPECT_TRUE(test::shows_text(entry.data(), font, 30, 140, "Final score:  1500  on", 31, 23));
    EXPECT_TRUE(test::shows_text(entry.data(), font, 160, 140, "New high-score: 6th place", 11, 3));
    EXPECT_TRUE(test::shows_text(entry.data(), font, 160, 150, "abx", 13, 5));
}

TEST(GameOver, BackspaceIntoAnEmptyNameIsKeptAndTheNameStopsAt49) {
    test::ScreenRig rig;  // no hiscores.dat: against a table of zeros even 0 takes first place
    type_after_fades(rig, 0, "\b" + std::string(60, 'k') + "\r");
    std::vector<uint8_t> expected(1080, 0);
    expected[0] = 8;  // the Backspace is kept as a character
    std::fill_n(expected.begin() + 1, 48, 'k');
    EXPECT_EQ(test::read_bytes(rig.sys->paths.user("hiscores.dat")), expected);
}

TEST(GameOver, QuitDuringNameEntryLeavesTheFileAlone) {
    test::ScreenRig rig;
    ASSERT_TRUE(write_high_scores(rig.sys->paths, test::sample_table()));
    const auto before = test::read_bytes(rig.sys->paths.user("hiscores.dat"));
    rig.platform.set_frame_hook([](HeadlessPlatform& p, uint64_t frame) {
        if (frame == FADE_FRAMES + 1) p.type_char('a');
        if (frame == FADE_FRAMES + 2) p.request_quit();
    });
    EXPECT_THROW(run_game_over(*rig.sys, 999999, 3), QuitRequested);
    EXPECT_EQ(test::read_bytes(rig.sys->paths.user("hiscores.dat")), before);
}

// What is typed or clicked during the fades is gone when they end: 40 characters, a held
// key's repeats, and a character and a click in the last fade's delay (3100 .. 3200 ms). With
// no new entry, a click after the fades does not end the wait either; only a key does, and
// the table is left alone.
TEST(GameOver, InputDuringTheFadesIsGoneWhenTheyEndAndOnlyAKeyEndsTheWait) {
    auto type_during_fades = [](HeadlessPlatform& p) {
        for (uint64_t i = 0; i < 40; ++i) p.at_time(50 + 40 * i, [](HeadlessPlatform& q) { q.type_char('z'); });
        p.at_time(1700, [](HeadlessPlatform& q) { q.press_key(GameKey::Space); });
        for (uint64_t t = 2200; t < 3000; t += 33)
            p.at_time(t, [](HeadlessPlatform& q) { q.type_char(' '); });  // the key's repeats
        p.at_time(3000, [](HeadlessPlatform& q) { q.release_key(GameKey::Space); });
        p.at_time(3150, [](HeadlessPlatform& q) {
            q.type_char('w');
            q.set_buttons(MOUSE_LEFT);
            q.set_buttons(0);
        });
    };
    test::ScreenRig rig;
    type_during_fades(rig.platform);
    type_after_fades(rig, 5000, "ab\r");
    EXPECT_EQ(std::string(name_text(read_high_scores(rig.sys->paths).names[0])), "ab");
    test::ScreenRig low;
    ASSERT_TRUE(write_high_scores(low.sys->paths, test::sample_table()));
    const auto before = test::read_bytes(low.sys->paths.user("hiscores.dat"));
    type_during_fades(low.platform);
    low.platform.at_time(5000, [](HeadlessPlatform& p) { p.set_buttons(MOUSE_LEFT); });
    low.platform.at_time(5200, [](HeadlessPlatform& p) { p.set_buttons(0); });
    low.platform.at_time(6000, [](HeadlessPlatform& p) { p.type_char('q'); });
    uint64_t scores_shown_at = 0;
    low.platform.set_frame_hook([&](HeadlessPlatform& p, uint64_t frame) {
        if (frame == FADE_FRAMES + 1) { scores_shown_at = p.now_ms(); test::post_char(p, ' '); }
    });
    run_game_over(*low.sys, 50, 2);  // below all twenty
    EXPECT_GE(scores_shown_at, 6000u);
    EXPECT_EQ(test::read_bytes(low.sys->paths.user("hiscores.dat")), before);
}

// A save that fails (here a folder stands where the temporary file must go, as good as a
// read-only folder even for root) keeps the old table, says so on stderr and shows the
// notice on the high-score screen that follows.
TEST(GameOver, FailedSaveKeepsTheTableAndIsToldOnTheNextScreen) {
    test::ScreenRig rig;
    ASSERT_TRUE(write_high_scores(rig.sys->paths, test::sample_table()));
    const auto before = test::read_bytes(rig.sys->paths.user("hiscores.dat"));
    std::filesystem::create_directory(rig.sys->paths.user("hiscores.dat.tmp." + std::to_string(::getpid())));
    test::Frame scores_screen{};
    rig.platform.add_frame_observer([&](HeadlessPlatform& p, uint64_t) { scores_screen = p.last_frame(); });
    testing::internal::CaptureStderr();
    type_after_fades(rig, 1500, "ok\r");
    const std::string said = testing::internal::GetCapturedStderr();
    const std::string notice = "Could not save the high scores: its temporary file is blocked";
    EXPECT_EQ(said, "qvar: could not save the high scores to " + rig.sys->paths.user("hiscores.dat") +
                        ": its temporary file is blocked\n");
    EXPECT_EQ(test::read_bytes(rig.sys->paths.user("hiscores.dat")), before);
    const int32_t x = (SCREEN_WIDTH - text_width(notice)) / 2;
    EXPECT_TRUE(test::shows_text(scores_screen.data(), rig.sys->font, x, 178, notice, 12, 4));
    EXPECT_EQ(test::count_colour(scores_screen.data(), x - 4, 176, x - 1, 185, 0), 27);  // its black band
    EXPECT_TRUE(rig.sys->notice.text.empty() || rig.sys->notice.showing);
}
