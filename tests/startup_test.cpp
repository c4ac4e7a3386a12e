// Start-up end to end through the headless backend: the first two frames, the second of
// calibration, the player's files on a first and a later run, and every way a data file can
// be missing or damaged.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "gfx/data_files.h"
#include "gfx/data_layout.h"
#include "gfx/text.h"
#include "app/main_cycle.h"
#include "app/startup.h"
#include "store/player_files.h"
#include "store/prefs_file.h"
#include "test_support.h"
#include "util/folder_lock.h"

using namespace qvar;
using Bytes = std::vector<uint8_t>;

namespace {

// A program about to start: data files in place, no user folder yet below a fresh one, and
// a quit after `quit_ms` of virtual time so that no run can hang.
struct Boot {
    test::TempDir data, home;
    HeadlessPlatform platform;
    System sys{platform};
    explicit Boot(uint64_t quit_ms = 1200) {
        test::write_test_data_files(data.path());
        sys.paths = {data.path(), home.path() + "/qvar/user"};
        platform.at_time(quit_ms, [](HeadlessPlatform& p) { p.request_quit(); });
    }
    std::string user(const std::string& name) const { return sys.paths.user(name); }
};

class FailingDisplay : public HeadlessPlatform {
    bool open_display(std::string& error) override {
        error = "no video device";
        return false;
    }
};

}  // namespace

// (The calibration second before the menu is the recordings' frame counts.)
TEST(Startup, FirstFrameGreenThenInitialising) {
    Boot boot(1500);
    struct Shot { uint64_t at_ms; std::array<uint8_t, 64000> pixels; Palette palette; };
    std::vector<Shot> shots;
    boot.platform.set_frame_hook([&shots](HeadlessPlatform& p, uint64_t) {
        if (shots.size() < 3) shots.push_back({p.now_ms(), p.last_frame(), p.palette()});
    });
    EXPECT_EQ(game_main(boot.sys), 0);
    ASSERT_EQ(shots.size(), 3u);
    EXPECT_EQ(std::count(shots[0].pixels.begin(), shots[0].pixels.end(), 0), 64000);  // all green
    EXPECT_EQ(shots[0].palette, initial_palette());
    Font font;
    std::string error;
    ASSERT_TRUE(load_font(boot.sys.paths, font, error));
    FrameBuffer expected;
    draw_text(expected, font, 135, 98, NO_WRAP, "Initialising...", 13, 5);
    EXPECT_TRUE(shots[1].pixels == expected.pixels && shots[1].palette == compute_palette(1.0f) && shots[1].at_ms == 0);
    EXPECT_EQ(boot.sys.large_digits_swapped[3].width, 10);
    EXPECT_TRUE(boot.platform.display_releases() == 1 && boot.platform.message_boxes().empty());
}

// Missing files are created with their defaults; present ones, damaged or not, are read
// (a damaged one giving its default) and left exactly as they were.
TEST(Startup, PlayersFilesGiveDefaultsAndStayAsTheyAre) {
    const auto none = std::nullopt;
    const struct { std::optional<Bytes> prefs, saved, scores; float gamma; } cases[] = {
        {none, none, none, 1.0f},
        {gamma_bytes(2.0f), Bytes(1001, 4), Bytes(1080, 7), 2.0f},
        {Bytes{}, Bytes{3, 2, 1}, Bytes{1, 2, 3, 4, 5}, 1.0f},
        {Bytes{0, 0}, none, Bytes(1080, 7), 1.0f},
        {gamma_bytes(50.0f), Bytes{}, Bytes{}, 1.0f},  // out of range (the other bad gammas: Palette's test)
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
        Boot boot;
        const std::tuple<const char*, std::optional<Bytes>, Bytes> files[] = {
            {"prefs.dat", c.prefs, gamma_bytes(1.0f)}, {"saved.dat", c.saved, Bytes(1001, 0)},
            {"hiscores.dat", c.scores, Bytes(1080, 0)}};
        for (const auto& [name, bytes, fallback] : files)
            if (bytes && make_dirs(boot.sys.paths.user_dir)) test::write_bytes(boot.user(name), *bytes);
        EXPECT_EQ(game_main(boot.sys), 0);
        EXPECT_TRUE(boot.sys.gamma == c.gamma && boot.platform.palette() == compute_palette(c.gamma));
        EXPECT_GT(boot.platform.frames_presented(), 15u);  // the menu ran: 10 ms a frame
        EXPECT_TRUE(boot.platform.message_boxes().empty());
        for (const auto& [name, bytes, fallback] : files)
            EXPECT_EQ(test::read_bytes(boot.user(name)), bytes.value_or(fallback)) << name;
        for (const auto& entry : std::filesystem::directory_iterator(boot.sys.paths.user_dir))
            EXPECT_TRUE(entry.path().extension() == ".dat" || entry.path().filename() == FOLDER_LOCK_FILE)
                << "left behind: " << entry.path();
    }
}

TEST(Startup, MissingShortOrDamagedDataFileStopsWithItsNameAndFolder) {
    // Each file removed, cut short, or whole with a byte set to 11 (a wrong width).
    const struct { const char* file; size_t short_size, corrupt_at; } files[] = {
        {FONT_FILE, 100, 0}, {DIGITS_FILE, 1519, 152 * 9}, {SPRITES_FILE, 1500, 1400}};
    for (const auto& f : files)
        for (const std::string words : {"Missing", "too short", "damaged"}) {
            SCOPED_TRACE(testing::Message() << f.file << " " << words);
            Boot boot(5000);
            const std::string path = boot.data.file(f.file);
            Bytes bytes = test::read_bytes(path);
            if (words == "damaged") bytes[f.corrupt_at] = 11;
            if (words == "too short") bytes.resize(f.short_size);
            std::filesystem::remove(path);
            if (words != "Missing") test::write_bytes(path, bytes);
            testing::internal::CaptureStderr();
            EXPECT_EQ(game_main(boot.sys), 1);
            EXPECT_NE(testing::internal::GetCapturedStderr().find(f.file), std::string::npos);
            ASSERT_EQ(boot.platform.message_boxes().size(), 1u);
            const std::string& box = boot.platform.message_boxes()[0];
            EXPECT_EQ(box.rfind("Oh sod it: ", 0), 0u) << box;
            for (const std::string& part : {std::string(f.file), boot.data.path(), words})
                EXPECT_NE(box.find(part), std::string::npos) << box << " lacks " << part;
            EXPECT_EQ(box.find('\n'), std::string::npos) << box;
            EXPECT_FALSE(boot.platform.display_open());
            EXPECT_LT(boot.platform.now_ms(), 5000u);  // stopped, not waiting for the quit
        }
}

// Neither a failed window, an unwritable user folder nor an early quit is an error.
TEST(Startup, WindowFailureUnwritableFolderOrAnEarlyQuitEndNormally) {
    FailingDisplay platform;
    System sys(platform);
    test::TempDir data, user;
    test::write_test_data_files(data.path());
    sys.paths = {data.path(), user.path()};
    testing::internal::CaptureStderr();
    EXPECT_EQ(game_main(sys), 0);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("no video device"), std::string::npos);
    EXPECT_EQ(platform.message_boxes(), std::vector<std::string>{"Oh sod it: Couldn't create a window"});
    EXPECT_EQ(platform.frames_presented(), 0u);

    Boot boot(400);  // a quit during the calibration ends at the menu's first pump
    test::write_bytes(boot.home.path() + "/qvar", {1});  // and a file where the user folder should be
    EXPECT_FALSE(ensure_user_files(boot.sys.paths));
    EXPECT_EQ(game_main(boot.sys), 0);
    EXPECT_EQ(boot.platform.frames_presented(), 3u);  // black, "Initialising...", one menu frame
    EXPECT_TRUE(boot.platform.display_releases() == 1 && boot.platform.message_boxes().empty());
}
