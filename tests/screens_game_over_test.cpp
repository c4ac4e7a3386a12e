// Game over: the name typed, the table saved only on Enter, and the waits around it.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "screens/game_over.h"
#include "screens/high_scores.h"
#include "screens_support.h"
#include "test_support.h"

using namespace qvar;

namespace {

// Frames before name entry: the empty one and the two 16-frame fades.
constexpr uint64_t FADE_FRAMES = 33;

// Types one character after each presented frame from the first name-entry frame on, then
// dismisses the high-score screen with a key.
void type_after_fades(test::TestRig& rig, std::string keys) {
    rig.platform.set_idle_quit_ms(20000);
    rig.platform.set_frame_hook([keys = std::move(keys)](HeadlessPlatform& p, uint64_t frame) {
        if (frame <= FADE_FRAMES) return;
        const uint64_t k = frame - FADE_FRAMES - 1;
        if (k < keys.size())
            p.type_char(static_cast<uint8_t>(keys[k]));
        else if (k == keys.size())
            test::post_char(p, ' ');  // the high-score screen's first frame
    });
}

}  // namespace

TEST(NameEntry, BackspaceEnterAndTheFortyNineCharacterLimit) {
    NameBuffer name{};
    int32_t len = 0;
    EXPECT_FALSE(name_entry_key(name, len, 8));  // Backspace on an empty name is appended
    EXPECT_EQ(len, 1);
    EXPECT_EQ(name[0], 8);
    EXPECT_FALSE(name_entry_key(name, len, 8));  // and the next one removes it
    EXPECT_EQ(len, 0);
    EXPECT_EQ(name[0], 0);
    for (int i = 0; i < 60; ++i) name_entry_key(name, len, static_cast<char>('a' + i % 26));
    EXPECT_EQ(len, 49);
    EXPECT_EQ(name[48], 'a' + 48 % 26);
    EXPECT_EQ(name[49], 0);
    EXPECT_FALSE(name_entry_key(name, len, 27));  // control codes are kept when there is room
    EXPECT_EQ(len, 49);
    EXPECT_TRUE(name_entry_key(name, len, 13));
    EXPECT_EQ(len, 49);
}

TEST(GameOver, TypedNameIsSavedInItsPlace) {
    test::TestRig rig;
    const HighScoreTable before = test::sample_table();
    ASSERT_TRUE(write_high_scores(rig.sys->paths, before));
    rig.sys->sparks.count = 77;
    std::array<uint8_t, 64000> entry{};
    rig.platform.set_idle_quit_ms(20000);
    rig.platform.set_frame_hook([&, keys = std::string("AbX\bc\r")](HeadlessPlatform& p, uint64_t frame) {
        if (frame == FADE_FRAMES + 4) entry = p.last_frame();  // after "AbX"
        if (frame <= FADE_FRAMES) return;
        const uint64_t k = frame - FADE_FRAMES - 1;
        if (k < keys.size()) p.type_char(static_cast<uint8_t>(keys[k]));
        if (k == keys.size()) test::post_char(p, ' ');
    });
    run_game_over(*rig.sys, 1500, 7);  // 1500 ties with the sixth entry and goes above it
    EXPECT_EQ(rig.sys->sparks.count, 0);

    HighScoreTable expected = before;
    for (int i = 19; i > 5; --i) {
        auto& to = expected.names[static_cast<size_t>(i)];
        const auto& from = expected.names[static_cast<size_t>(i - 1)];
        std::memcpy(to.data(), from.data(), std::strlen(from.data()) + 1);
        expected.scores[static_cast<size_t>(i)] = expected.scores[static_cast<size_t>(i - 1)];
    }
    std::memcpy(expected.names[5].data(), "abc", 4);  // lower case, "x" taken back
    expected.scores[5] = 1500;
    EXPECT_EQ(test::read_bytes(rig.sys->paths.user("hiscores.dat")), high_score_bytes(expected));

    const Font& font = rig.sys->font;
    EXPECT_TRUE(test::shows_text(entry.data(), font, 145, 100, "GAME OVER", 31, 23));
    // The final text runs on under the place text; its start is clear of it.
    EXPECT_TRUE(test::shows_text(entry.data(), font, 30, 140, "Final score:  1500  on", 31, 23));
    EXPECT_TRUE(test::shows_text(entry.data(), font, 160, 140, "New high-score: 6th place", 11, 3));
    EXPECT_TRUE(test::shows_text(entry.data(), font, 160, 150, "abx", 13, 5));
}

TEST(GameOver, QuitDuringNameEntryLeavesTheFileAlone) {
    test::TestRig rig;
    ASSERT_TRUE(write_high_scores(rig.sys->paths, test::sample_table()));
    const auto before = test::read_bytes(rig.sys->paths.user("hiscores.dat"));
    rig.platform.set_frame_hook([](HeadlessPlatform& p, uint64_t frame) {
        if (frame == FADE_FRAMES + 1) p.type_char('a');
        if (frame == FADE_FRAMES + 2) p.request_quit();
    });
    EXPECT_THROW(run_game_over(*rig.sys, 999999, 3), QuitRequested);
    EXPECT_EQ(test::read_bytes(rig.sys->paths.user("hiscores.dat")), before);
}

TEST(GameOver, MissingFileAndAnEmptyNameStillSaveTheScore) {
    test::TestRig rig;
    type_after_fades(rig, "\b\r");  // Backspace into an empty name is kept as code 8
    run_game_over(*rig.sys, 0, 1);  // against a table of zeros even 0 takes first place
    const HighScoreTable t = read_high_scores(rig.sys->paths);
    EXPECT_EQ(name_text(t.names[0]), "\b");
    EXPECT_EQ(t.scores[0], 0);
    EXPECT_EQ(test::read_bytes(rig.sys->paths.user("hiscores.dat")).size(), 1080u);
}

TEST(GameOver, LowScoreWaitsForAKeyNotAClick) {
    test::TestRig rig;
    ASSERT_TRUE(write_high_scores(rig.sys->paths, test::sample_table()));
    const auto before = test::read_bytes(rig.sys->paths.user("hiscores.dat"));
    uint64_t key_at = 0;
    uint64_t scores_shown_at = 0;
    rig.platform.set_idle_quit_ms(20000);
    rig.platform.set_frame_hook([&](HeadlessPlatform& p, uint64_t frame) {
        if (frame == FADE_FRAMES) {
            p.at_time(p.now_ms() + 1000, [](HeadlessPlatform& q) { q.set_buttons(MOUSE_LEFT); });
            p.at_time(p.now_ms() + 1200, [](HeadlessPlatform& q) { q.set_buttons(0); });
            key_at = p.now_ms() + 2000;
            p.at_time(key_at, [](HeadlessPlatform& q) { q.type_char('q'); });
        }
        if (frame == FADE_FRAMES + 1) {
            scores_shown_at = p.now_ms();
            test::post_char(p, ' ');
        }
    });
    run_game_over(*rig.sys, 50, 2);  // below all twenty
    EXPECT_GE(scores_shown_at, key_at);
    EXPECT_EQ(test::read_bytes(rig.sys->paths.user("hiscores.dat")), before);
}
