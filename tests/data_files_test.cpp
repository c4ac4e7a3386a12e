// The read-only data files when something else stands in their place, and pictures of the
// right record size but the wrong shape.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>

#include "app/main_cycle.h"
#include "gfx/data_files.h"
#include "screens/credits.h"
#include "test_support.h"

using namespace qvar;
namespace fs = std::filesystem;

namespace {

bool has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// Puts a folder, a file whose reads fail, /dev/zero or a FIFO at `path`.
void replace_with(const std::string& path, const std::string& kind) {
    fs::remove(path);
    if (kind == "folder") fs::create_directory(path);
    if (kind == "unreadable") fs::create_symlink("/proc/self/mem", path);
    if (kind == "/dev/zero") fs::create_symlink("/dev/zero", path);
    if (kind == "fifo") {
        ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    }
}

}  // namespace

// Each picture file is then damaged, with the usual one-line message and the reason on
// stderr; c2.dat, which the game can do without, leaves the credits without text. None of
// them is read whole or waited on.
TEST(DataFiles, FolderUnreadableFileDeviceOrFifoInPlaceIsRefusedAtOnce) {
    Font font;
    std::array<Sprite, 10> digits;
    std::array<Sprite, 13> icons;
    Sprite ship;
    const std::pair<const char*, std::function<bool(const Paths&, std::string&)>> pictures[] = {
        {FONT_FILE, [&](const Paths& p, std::string& e) { return load_font(p, font, e); }},
        {DIGITS_FILE, [&](const Paths& p, std::string& e) { return load_large_digits(p, digits, e); }},
        {SPRITES_FILE, [&](const Paths& p, std::string& e) { return load_sprite_record(p, SPRITES_FILE, SHIP_RECORD, ship, e); }},
        {BONI_FILE, [&](const Paths& p, std::string& e) { return load_bonus_icons(p, icons, e); }},
    };
    for (const std::string kind : {"folder", "unreadable", "/dev/zero", "fifo"}) {
        test::TempDir data;
        test::write_test_data_files(data.path());
        const Paths paths{data.path(), ""};
        for (const auto& [file, load] : pictures) {
            SCOPED_TRACE(testing::Message() << file << " as " << kind);
            replace_with(paths.data(file), kind);
            std::string error;
            testing::internal::CaptureStderr();
            EXPECT_FALSE(load(paths, error));
            EXPECT_TRUE(has(testing::internal::GetCapturedStderr(), paths.data(file)));
            EXPECT_EQ(error, std::string("Data file is damaged: ") + file + " (looked in " + data.path() + ")");
        }
        replace_with(paths.data(CREDITS_FILE), kind);
        testing::internal::CaptureStderr();
        EXPECT_TRUE(read_credits_file(paths).empty()) << kind;
        EXPECT_TRUE(has(testing::internal::GetCapturedStderr(), "the credits show no text")) << kind;
    }
}

// A saucer stored as 105x1 or a digit as 15x10 fills its record exactly, yet would draw
// garbled: refused as damaged, at start-up for the digits.
TEST(DataFiles, PictureOfTheRightSizeButTheWrongShapeIsDamaged) {
    test::TempDir data;
    test::write_test_data_files(data.path());
    std::vector<uint8_t> sprites = test::read_bytes(data.file(SPRITES_FILE));
    Sprite saucer;
    EXPECT_EQ(parse_record(sprites, SAUCER_RECORD, saucer), DataCheck::Ok);
    sprites[SAUCER_RECORD.offset] = 105, sprites[SAUCER_RECORD.offset + 1] = 1;
    EXPECT_EQ(parse_record(sprites, SAUCER_RECORD, saucer), DataCheck::Damaged);
    EXPECT_TRUE(saucer.pixels.empty());
    sprites.resize(SAUCER_RECORD.offset + 50);
    EXPECT_EQ(parse_record(sprites, SAUCER_RECORD, saucer), DataCheck::TooShort);

    std::vector<uint8_t> digits = test::read_bytes(data.file(DIGITS_FILE));
    digits[3 * DIGIT_RECORD] = 15, digits[3 * DIGIT_RECORD + 1] = 10;
    test::write_bytes(data.file(DIGITS_FILE), digits);
    test::TempDir home;
    HeadlessPlatform platform;
    System sys(platform);
    sys.paths = {data.path(), home.path()};
    testing::internal::CaptureStderr();
    EXPECT_EQ(game_main(sys), 1);
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(platform.message_boxes(),
              std::vector<std::string>{"Oh sod it: Data file is damaged: nums.dat (looked in " + data.path() + ")"});
}
