// The player's files when something else stands in their place, and saves from two running
// instances that must both be kept.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "screens_support.h"
#include "store/high_score_file.h"
#include "store/prefs_file.h"
#include "store/progress_file.h"

using namespace qvar;
namespace fs = std::filesystem;

namespace {

NameBuffer name_of(const char* text) {
    NameBuffer name{};
    std::snprintf(name.data(), name.size(), "%s", text);
    return name;
}

bool has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

}  // namespace

// A folder, or a file whose every read fails, in place of each player file: the game reads
// the defaults after one line on stderr, and a save neither replaces it nor claims success.
TEST(PlayerFiles, FolderOrUnreadableFileGivesDefaultsAndIsNeverReplaced) {
    const struct {
        const char* name;
        std::function<bool(const Paths&)> reads_default;
        std::function<FileResult(const Paths&)> save;
    } files[] = {
        {PREFS_FILE, [](const Paths& p) { return load_gamma(p) == 1.0f; },
         [](const Paths& p) { return save_gamma(p, 2.0f); }},
        {PROGRESS_FILE, [](const Paths& p) { return load_level_progress(p).ships == LevelProgress{}.ships; },
         [](const Paths& p) {
             LevelProgress progress = load_level_progress(p);
             return record_level_progress(progress, 20, 4).saved;
         }},
        {HIGH_SCORE_FILE, [](const Paths& p) { return read_high_scores(p).scores[0] == 0; },
         [](const Paths& p) { return save_high_score(p, 100, name_of("ace")); }},
    };
    for (const auto& f : files)
        for (const bool folder : {true, false}) {
            SCOPED_TRACE(testing::Message() << f.name << (folder ? " as a folder" : " unreadable"));
            test::TempDir user;
            const Paths paths{"", user.path()};
            if (folder) fs::create_directory(paths.user(f.name));
            else fs::create_symlink("/proc/self/mem", paths.user(f.name));
            testing::internal::CaptureStderr();
            EXPECT_TRUE(f.reads_default(paths));
            const std::string said = testing::internal::GetCapturedStderr();
            EXPECT_TRUE(has(said, paths.user(f.name)) && has(said, folder ? "is a folder" : "input/output error")) << said;
            EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
            testing::internal::CaptureStderr();
            EXPECT_FALSE(f.save(paths).ok);
            testing::internal::GetCapturedStderr();
            EXPECT_EQ(fs::is_directory(paths.user(f.name)), folder);
            EXPECT_EQ(fs::is_symlink(paths.user(f.name)), !folder);
        }
}

// Instance A read the table before its player typed a name; instance B saved meanwhile.
// A's save places its entry into the table as it is now, so both entries are kept; a score
// that no longer enters leaves the file alone. The level progress merges the same way.
TEST(PlayerFiles, SavesFromTwoInstancesInTurnKeepBothEntries) {
    test::TempDir user;
    const Paths paths{"", user.path()};
    ASSERT_TRUE(write_high_scores(paths, test::sample_table()));
    const HighScoreTable seen_by_a = read_high_scores(paths);
    ASSERT_TRUE(save_high_score(paths, 1550, name_of("bee")));  // B
    ASSERT_TRUE(save_high_score(paths, 1500, name_of("ant")));  // A
    const HighScoreTable table = read_high_scores(paths);
    EXPECT_EQ(high_score_place(seen_by_a, 1500), 5);
    EXPECT_EQ(std::make_tuple(name_text(table.names[5]), table.scores[5]), std::make_tuple("bee", 1550));
    EXPECT_EQ(std::make_tuple(name_text(table.names[6]), table.scores[6]), std::make_tuple("ant", 1500));
    EXPECT_EQ(std::make_tuple(name_text(table.names[7]), table.scores[7]), std::make_tuple("p5", 1500));
    EXPECT_EQ(name_text(table.names[19]), "p17");
    HighScoreTable full;
    for (int32_t& s : full.scores) s = 5000;
    ASSERT_TRUE(write_high_scores(paths, full));
    const std::vector<uint8_t> before = test::read_bytes(paths.user(HIGH_SCORE_FILE));
    EXPECT_TRUE(save_high_score(paths, 4999, name_of("late")));
    EXPECT_EQ(test::read_bytes(paths.user(HIGH_SCORE_FILE)), before);

    LevelProgress a = load_level_progress(paths), b = load_level_progress(paths);
    EXPECT_TRUE(record_level_progress(a, 20, 4).changed);
    EXPECT_TRUE(record_level_progress(b, 30, 5).changed);
    EXPECT_FALSE(record_level_progress(b, 30, 5).changed);
    const LevelProgress now = load_level_progress(paths);
    EXPECT_EQ(std::make_tuple(now.ships[2], now.ships[3]), std::make_tuple(4, 5));
}
