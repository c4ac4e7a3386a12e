// The read-only data files when something else stands in their place.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "gfx/data_files.h"
#include "screens/credits.h"
#include "test_support.h"

using namespace qvar;
namespace fs = std::filesystem;

static bool has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// A folder, a file whose reads fail, /dev/zero or a FIFO in place of a picture file is damaged,
// with the usual one-line message and the reason on stderr; in place of c2.dat, which the game
// can do without, it leaves the credits without text. None of them is read whole or waited on.
// (Every picture file is read the same way; the font stands for them all.)
TEST(DataFiles, FolderUnreadableFileDeviceOrFifoInPlaceIsRefusedAtOnce) {
    for (const std::string kind : {"folder", "unreadable", "/dev/zero", "fifo"}) {
        SCOPED_TRACE(kind);
        test::TempDir data;
        test::write_test_data_files(data.path());
        const Paths paths{data.path(), ""};
        for (const char* file : {FONT_FILE, CREDITS_FILE}) {
            const std::string path = paths.data(file);
            fs::remove(path);
            if (kind == "folder") fs::create_directory(path);
            if (kind == "unreadable") fs::create_symlink("/proc/self/mem", path);
            if (kind == "/dev/zero") fs::create_symlink("/dev/zero", path);
            if (kind == "fifo") { ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0); }
        }
        Font font;
        std::string error;
        testing::internal::CaptureStderr();
        EXPECT_FALSE(load_font(paths, font, error));
        EXPECT_TRUE(has(testing::internal::GetCapturedStderr(), paths.data(FONT_FILE)));
        EXPECT_EQ(error, std::string("Data file is damaged: ") + FONT_FILE + " (looked in " + data.path() + ")");
        testing::internal::CaptureStderr();
        EXPECT_TRUE(read_credits_file(paths).empty());
        EXPECT_TRUE(has(testing::internal::GetCapturedStderr(), "the credits show no text"));
    }
}
