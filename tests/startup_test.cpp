// Start-up end to end through the headless backend: the first two frames, the second of
// calibration, the player's files on a first and a later run, and every way a data file can
// be missing or damaged.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "gfx/data_files.h"
#include "gfx/data_layout.h"
#include "gfx/text.h"
#include "platform/game_main.h"
#include "platform/startup.h"
#include "screens/prefs_file.h"
#include "test_support.h"

using namespace qvar;

namespace {

// A program about to start: data files in place, an empty user folder below a fresh one,
// and a quit after `quit_ms` of virtual time so that no run can hang.
struct Boot {
    test::TempDir data;
    test::TempDir home;
    HeadlessPlatform platform;
    System sys{platform};

    explicit Boot(uint64_t quit_ms = 1500) {
        test::write_test_data_files(data.path());
        sys.paths.data_dir = data.path();
        sys.paths.user_dir = home.path() + "/qvar/user";
        platform.at_time(quit_ms, [](HeadlessPlatform& p) { p.request_quit(); });
    }
    std::string user(const std::string& name) const { return sys.paths.user(name); }
    void write_user(const std::string& name, const std::vector<uint8_t>& bytes) {
        make_dirs(sys.paths.user_dir);
        test::write_bytes(user(name), bytes);
    }
};

struct FrameShot {
    uint64_t at_ms = 0;
    std::array<uint8_t, 64000> pixels{};
    Palette palette{};
};

class FailingDisplay : public HeadlessPlatform {
public:
    bool open_display(std::string& error) override {
        error = "no video device";
        return false;
    }
};

}  // namespace

TEST(Startup, FirstFrameGreenThenInitialisingForOneSecond) {
    Boot boot;
    std::vector<FrameShot> shots;
    boot.platform.set_frame_hook([&shots](HeadlessPlatform& p, uint64_t) {
        if (shots.size() < 3) shots.push_back({p.now_ms(), p.last_frame(), p.palette()});
    });
    EXPECT_EQ(game_main(boot.sys), 0);
    ASSERT_EQ(shots.size(), 3u);

    for (uint8_t p : shots[0].pixels) ASSERT_EQ(p, 0);
    EXPECT_EQ(shots[0].palette[0], (Rgb{0, 128, 0}));
    EXPECT_EQ(shots[0].palette, initial_palette());

    Font font;
    std::string error;
    ASSERT_TRUE(load_font(boot.sys.paths, font, error));
    FrameBuffer expected;
    draw_text(expected, font, 135, 98, NO_WRAP, "Initialising...", 13, 5);
    EXPECT_EQ(shots[1].pixels, expected.pixels);
    EXPECT_EQ(shots[1].palette, compute_palette(1.0f));
    EXPECT_EQ(shots[1].at_ms, 0u);

    EXPECT_GE(shots[2].at_ms, 1000u);  // the menu's first frame comes after the calibration
    EXPECT_LT(shots[2].at_ms, 1100u);
    EXPECT_GT(boot.sys.pump_loops_per_second, 0u);
    EXPECT_EQ(boot.sys.large_digits_swapped[3].width, 10);
    EXPECT_EQ(boot.platform.display_releases(), 1);
    EXPECT_TRUE(boot.platform.message_boxes().empty());
}

TEST(Startup, FirstRunCreatesThePlayersFiles) {
    Boot boot(1200);
    EXPECT_EQ(game_main(boot.sys), 0);
    EXPECT_EQ(test::read_bytes(boot.user("prefs.dat")), gamma_bytes(1.0f));
    EXPECT_EQ(test::read_bytes(boot.user("saved.dat")), std::vector<uint8_t>(1001, 0));
    EXPECT_EQ(test::read_bytes(boot.user("hiscores.dat")), std::vector<uint8_t>(1080, 0));
    EXPECT_EQ(default_hiscores_bytes().size(), 20u * (50u + 4u));
    for (const auto& entry : std::filesystem::directory_iterator(boot.sys.paths.user_dir))
        EXPECT_NE(entry.path().filename().string().find(".dat"), std::string::npos) << "left behind: " << entry.path();
}

TEST(Startup, ExistingFilesAreReadAndNeverRewritten) {
    Boot boot(1200);
    const std::vector<uint8_t> saved(1001, 4), scores(1080, 7);
    boot.write_user("prefs.dat", gamma_bytes(2.0f));
    boot.write_user("saved.dat", saved);
    boot.write_user("hiscores.dat", scores);
    EXPECT_EQ(game_main(boot.sys), 0);
    EXPECT_EQ(boot.sys.gamma, 2.0f);
    EXPECT_EQ(boot.platform.palette(), compute_palette(2.0f));
    EXPECT_EQ(test::read_bytes(boot.user("prefs.dat")), gamma_bytes(2.0f));
    EXPECT_EQ(test::read_bytes(boot.user("saved.dat")), saved);
    EXPECT_EQ(test::read_bytes(boot.user("hiscores.dat")), scores);
}

TEST(Startup, DamagedPlayerFilesGiveDefaultsAndStayAsTheyAre) {
    const std::vector<std::vector<uint8_t>> bad_prefs = {
        {}, {0x00, 0x00}, {0x00, 0x00, 0xC0, 0x7F} /* NaN */, gamma_bytes(50.0f), gamma_bytes(-1.0f)};
    for (const auto& prefs : bad_prefs) {
        Boot boot(1200);
        boot.write_user("prefs.dat", prefs);
        boot.write_user("saved.dat", {3, 2, 1});  // short
        boot.write_user("hiscores.dat", {1, 2, 3, 4, 5});
        EXPECT_EQ(game_main(boot.sys), 0);
        EXPECT_EQ(boot.sys.gamma, 1.0f);
        EXPECT_EQ(boot.platform.palette(), compute_palette(1.0f));
        EXPECT_GT(boot.platform.frames_presented(), 15u);  // the menu ran: 10 ms a frame
        EXPECT_EQ(test::read_bytes(boot.user("prefs.dat")), prefs);
        EXPECT_EQ(test::read_bytes(boot.user("saved.dat")), (std::vector<uint8_t>{3, 2, 1}));
        EXPECT_EQ(test::read_bytes(boot.user("hiscores.dat")), (std::vector<uint8_t>{1, 2, 3, 4, 5}));
        EXPECT_TRUE(boot.platform.message_boxes().empty());
    }
}

TEST(Startup, UnwritableUserFolderStillPlays) {
    Boot boot(1200);
    test::write_bytes(boot.home.path() + "/qvar", {1});  // a file where the folder should be
    EXPECT_FALSE(ensure_user_files(boot.sys.paths));
    EXPECT_EQ(game_main(boot.sys), 0);
    EXPECT_GT(boot.platform.frames_presented(), 15u);
    EXPECT_TRUE(boot.platform.message_boxes().empty());
}

TEST(Startup, MissingShortOrDamagedDataFileStopsWithItsNameAndFolder) {
    struct Case {
        const char* file;
        size_t keep;           // bytes kept; SIZE_MAX removes the file
        int corrupt_at = -1;   // a byte set to 11 (a wrong width)
        const char* words;
    };
    const Case cases[] = {
        {FONT_FILE, SIZE_MAX, -1, "Missing"},     {FONT_FILE, 100, -1, "too short"},
        {FONT_FILE, 597, 0, "damaged"},           {DIGITS_FILE, SIZE_MAX, -1, "Missing"},
        {DIGITS_FILE, 1519, -1, "too short"},     {DIGITS_FILE, 1520, 152 * 9, "damaged"},
        {SPRITES_FILE, SIZE_MAX, -1, "Missing"},  {SPRITES_FILE, 1500, -1, "too short"},
        {SPRITES_FILE, 1750, 1400, "damaged"},
    };
    for (const Case& c : cases) {
        Boot boot(5000);
        const std::string path = boot.data.file(c.file);
        std::vector<uint8_t> bytes = test::read_bytes(path);
        if (c.keep == SIZE_MAX) {
            std::filesystem::remove(path);
        } else {
            bytes.resize(c.keep);
            if (c.corrupt_at >= 0) bytes[static_cast<size_t>(c.corrupt_at)] = 11;
            test::write_bytes(path, bytes);
        }
        testing::internal::CaptureStderr();
        EXPECT_EQ(game_main(boot.sys), 1) << c.file << " " << c.keep;
        const std::string err = testing::internal::GetCapturedStderr();
        ASSERT_EQ(boot.platform.message_boxes().size(), 1u) << c.file;
        const std::string& box = boot.platform.message_boxes()[0];
        EXPECT_EQ(box.rfind("Oh sod it: ", 0), 0u) << box;
        EXPECT_NE(box.find(c.file), std::string::npos) << box;
        EXPECT_NE(box.find(boot.data.path()), std::string::npos) << box;
        EXPECT_NE(box.find(c.words), std::string::npos) << box;
        EXPECT_EQ(box.find('\n'), std::string::npos) << box;
        EXPECT_NE(err.find(c.file), std::string::npos) << err;
        EXPECT_FALSE(boot.platform.display_open());
        EXPECT_LT(boot.platform.now_ms(), 5000u);  // stopped, not waiting for the quit
    }
}

TEST(Startup, WindowFailureShowsItsBoxAndEndsNormally) {
    FailingDisplay platform;
    System sys(platform);
    test::TempDir data, user;
    test::write_test_data_files(data.path());
    sys.paths = {data.path(), user.path()};
    testing::internal::CaptureStderr();
    EXPECT_EQ(game_main(sys), 0);
    const std::string err = testing::internal::GetCapturedStderr();
    ASSERT_EQ(platform.message_boxes().size(), 1u);
    EXPECT_EQ(platform.message_boxes()[0], "Oh sod it: Couldn't create a window");
    EXPECT_NE(err.find("no video device"), std::string::npos);
    EXPECT_EQ(platform.frames_presented(), 0u);
}

TEST(Startup, QuitDuringCalibrationEndsAtTheMenusFirstPump) {
    Boot boot(400);
    EXPECT_EQ(game_main(boot.sys), 0);
    EXPECT_EQ(boot.platform.frames_presented(), 3u);  // black, "Initialising...", one menu frame
    EXPECT_EQ(boot.platform.display_releases(), 1);
    EXPECT_TRUE(boot.platform.message_boxes().empty());
}
