// The reading rule, atomic writes, the temporary files killed writers leave, and messages
// that quote outside text safely.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "test_support.h"
#include "util/files.h"
#include "util/folder_lock.h"
#include "util/message_text.h"

using namespace qvar;
namespace fs = std::filesystem;

// A folder, a device, a FIFO and a file whose read fails are each refused with a reason and
// without blocking; a long file is cut or refused as the caller says.
TEST(ReadFile, RefusesWhatIsNotAReadableFileAndBoundsTheSize) {
    test::TempDir dir;
    fs::create_directory(dir.file("folder"));
    ASSERT_EQ(::mkfifo(dir.file("fifo").c_str(), 0600), 0);
    fs::create_symlink("/dev/zero", dir.file("zero"));
    fs::create_symlink("/proc/self/mem", dir.file("unreadable"));  // a regular file whose read fails
    const struct { const char* name; FileProblem problem; const char* reason; } refused[] = {
        {"missing", FileProblem::Missing, "no such file"},   {"folder", FileProblem::NotAFile, "folder"},
        {"fifo", FileProblem::NotAFile, "not a regular file"}, {"zero", FileProblem::NotAFile, "not a regular file"},
        {"unreadable", FileProblem::Unreadable, "input/output error"},
    };
    for (const auto& r : refused) {
        const FileRead read = read_file(dir.file(r.name), 1000, Oversize::Cut);
        EXPECT_EQ(read.problem, r.problem) << r.name;
        EXPECT_NE(read.reason.find(r.reason), std::string::npos) << r.name << ": " << read.reason;
        EXPECT_TRUE(read.bytes.empty()) << r.name;
    }
    test::write_bytes(dir.file("long"), std::vector<uint8_t>(200000, 7));
    const FileRead cut = read_file(dir.file("long"), 150001, Oversize::Cut);
    EXPECT_TRUE(cut.ok() && cut.bytes == std::vector<uint8_t>(150001, 7));
    EXPECT_EQ(read_file(dir.file("long"), 150001, Oversize::Refuse).problem, FileProblem::TooLarge);
    EXPECT_TRUE(read_file(dir.file("long"), 200000, Oversize::Refuse).ok());
}

// A write that cannot finish leaves the old file and no temporary file; one that can replaces
// the file whole.
TEST(WriteFileAtomic, FailureKeepsTheOldFileAndLeavesNothingBehind) {
    test::TempDir dir;
    const std::string path = dir.file("hiscores.dat");
    test::write_bytes(path, {1, 2, 3});
    const std::string in_the_way = dir.file("hiscores.dat.tmp." + std::to_string(::getpid()));
    fs::create_directory(in_the_way);  // where the temporary file goes
    fs::create_directory(dir.file("folder.dat"));
    for (const auto& [target, reason] : {std::pair{path, "its temporary file is blocked"}, {dir.file("folder.dat"), "is a folder"}}) {
        const FileResult failed = write_file_atomic(target, {9});
        EXPECT_FALSE(failed.ok);
        EXPECT_EQ(failed.reason, reason);
    }
    fs::remove(in_the_way);
    EXPECT_EQ(test::read_bytes(path), (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_TRUE(write_file_atomic(path, {4, 5}).ok);
    EXPECT_EQ(test::read_bytes(path), (std::vector<uint8_t>{4, 5}));
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir.path())) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"folder.dat", "hiscores.dat"}));
}

// Without the lock only the temporary files of processes that are gone are removed; with it,
// every one of the named files'. Other files, and folders, are never touched.
TEST(StaleTemporaries, RemovedWhenTheirWriterIsGoneOrTheLockIsHeld) {
    test::TempDir dir;
    const std::string live = "saved.dat.tmp." + std::to_string(::getpid());
    for (const std::string name : {"prefs.dat.tmp.999999999", live.c_str(), "other.dat.tmp.1", "prefs.dat.tmp.x1"})
        test::write_bytes(dir.file(name), {1});
    fs::create_directory(dir.file("hiscores.dat.tmp.999999998"));
    const auto names = {"prefs.dat", "saved.dat", "hiscores.dat"};
    EXPECT_EQ(remove_stale_temporaries(dir.path(), names, false), 1);
    EXPECT_FALSE(fs::exists(dir.file("prefs.dat.tmp.999999999")));
    EXPECT_TRUE(fs::exists(dir.file(live)));
    FolderLock lock(dir.path());
    ASSERT_TRUE(lock.held());
    EXPECT_EQ(remove_stale_temporaries(dir.path(), names, true), 1);
    EXPECT_FALSE(fs::exists(dir.file(live)));
    EXPECT_TRUE(fs::exists(dir.file("other.dat.tmp.1")) && fs::exists(dir.file("prefs.dat.tmp.x1")));
    EXPECT_TRUE(fs::is_directory(dir.file("hiscores.dat.tmp.999999998")));
}

TEST(MessageText, EscapesControlsKeepsLettersAndCutsLongWords) {
    EXPECT_EQ(printable("a\nb\tc\x1b[2Jd\\"), "a\\nb\\tc\\e[2Jd\\\\");
    EXPECT_EQ(printable("donn\xc3\xa9" "es \xe2\x82\xac"), "donn\xc3\xa9" "es \xe2\x82\xac");  // UTF-8 stays
    EXPECT_EQ(printable("\xc2\x9b" "1m \xff \xc3"), "\\xc2\\x9b1m \\xff \\xc3");        // C1 and broken UTF-8
    EXPECT_EQ(printable(std::string(100, 'x')), std::string(80, 'x') + "...");
    EXPECT_EQ(printable(std::string(80, 'x')), std::string(80, 'x'));
    EXPECT_EQ(printable(std::string(100, '\xe2')), [] {  // escapes count by their width
        std::string out;
        for (int i = 0; i < 20; ++i) out += "\\xe2";
        return out + "...";
    }());
}
