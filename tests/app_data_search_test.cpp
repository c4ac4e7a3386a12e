// The data-folder search: the order of the folders, each step winning in turn, the test of a
// folder, the environment it reads, and the message that lists every folder tried.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "app/data_search.h"
#include "test_support.h"

using namespace qvar;

namespace {

// Every source set, so each step of the search has its own folder under `root`.
DataSearchSources all_sources(const std::string& root) {
    return {root + "/option", root + "/env", root + "/build",
            std::string(root + "/xdg1:relative/ignored::" + root + "/xdg2/")};
}

}  // namespace

TEST(DataSearch, FoldersComeInTheDocumentedOrderEachOnce) {
    EXPECT_EQ(data_dir_candidates(all_sources("/r")),
              (std::vector<std::string>{"/r/option", "/r/env", "/r/build", "/r/share/qvar", "/r/xdg1/qvar",
                                        "/r/xdg2/qvar"}));
    // Unset or empty sources drop out, XDG_DATA_DIRS falls back to its default, and an
    // installed executable's folders are not repeated by that default.
    DataSearchSources bare{"", std::string(), "/usr/bin", std::string()};
    EXPECT_EQ(data_dir_candidates(bare),
              (std::vector<std::string>{"/usr/bin", "/usr/share/qvar", "/usr/local/share/qvar"}));
    bare.xdg_data_dirs.reset();
    bare.exe_dir = "/opt/qvar/bin/";
    EXPECT_EQ(data_dir_candidates(bare), (std::vector<std::string>{"/opt/qvar/bin", "/opt/qvar/share/qvar",
                                                                   "/usr/local/share/qvar", "/usr/share/qvar"}));
}

// The first folder holding the data wins (c2.dat may be missing), and the folders tried are
// those up to it; a folder missing any other file is passed over.
TEST(DataSearch, TheFirstFolderHoldingTheDataWinsAndTheMessageListsAllTried) {
    test::TempDir a, b;
    test::write_test_data_files(a.path());
    std::filesystem::remove(a.file("c2.dat"));
    for (const char* file : {"lets.dat", "nums.dat", "qvar.dat", "boni.dat"}) {
        test::write_test_data_files(b.path());
        std::filesystem::remove(b.file(file));
        EXPECT_FALSE(holds_game_data(b.path())) << file;
    }
    const DataSearch later = find_data_dir({b.path(), "/no/such/folder", a.path(), b.path()});
    EXPECT_EQ(later.found, a.path());
    EXPECT_EQ(later.tried, (std::vector<std::string>{b.path(), "/no/such/folder", a.path()}));
    test::write_test_data_files(b.path());
    EXPECT_EQ(find_data_dir({b.path(), a.path()}).tried, std::vector<std::string>{b.path()});
    const DataSearch none = find_data_dir({a.path() + "/no", "/no/such/folder"});
    EXPECT_TRUE(none.found.empty());
    EXPECT_EQ(missing_data_message(none),
              "Missing data files: no folder holds lets.dat, nums.dat, qvar.dat and boni.dat (looked in " +
                  a.path() + "/no, /no/such/folder)");
}

TEST(DataSearch, NamedFoldersThatArePassedOverAreNoted) {
    DataSearchSources sources{"/mods/", std::string("/env"), "/usr/bin", std::nullopt};
    const std::vector<std::string> tried = {"/mods", "/env", "/usr/bin", "/usr/share/qvar"};
    EXPECT_EQ(passed_over_note(sources, {"/usr/share/qvar", tried}),
              "qvar: --data-dir /mods does not hold the game data; using /usr/share/qvar\n"
              "qvar: QVAR_DATA_DIR /env does not hold the game data; using /usr/share/qvar\n");
    EXPECT_EQ(passed_over_note(sources, {"/mods", {"/mods"}}), "");  // the named folder was used
    EXPECT_EQ(passed_over_note(sources, {"", tried}), "");           // the fatal message lists them
    sources.option.clear();
    EXPECT_EQ(passed_over_note(sources, {"/env", {"/env"}}), "");
}

TEST(DataSearch, TheSourcesComeFromTheEnvironmentAndTheExecutable) {
    const DataSearchSources before = current_data_search_sources("");  // restored at the end
    ::setenv("QVAR_DATA_DIR", "/from/env", 1);
    ::setenv("XDG_DATA_DIRS", "/x1:/x2", 1);
    const DataSearchSources set = current_data_search_sources("/from/option");
    EXPECT_EQ(std::make_tuple(set.option, set.env_data_dir.value_or(""), set.xdg_data_dirs.value_or("")),
              std::make_tuple("/from/option", "/from/env", "/x1:/x2"));
    EXPECT_EQ(std::filesystem::path(set.exe_dir), std::filesystem::path(QVAR_BUILD_DIR) / "tests");
    ::unsetenv("QVAR_DATA_DIR");
    EXPECT_FALSE(current_data_search_sources("").env_data_dir.has_value());
    if (before.env_data_dir) ::setenv("QVAR_DATA_DIR", before.env_data_dir->c_str(), 1);
    before.xdg_data_dirs ? ::setenv("XDG_DATA_DIRS", before.xdg_data_dirs->c_str(), 1) : ::unsetenv("XDG_DATA_DIRS");
}
