// The data-folder search: the order of the candidates, the test of a folder, the message.
#include "app/data_search.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string_view>
#include <system_error>
#include <utility>

#include "gfx/data_layout.h"
#include "util/files.h"

namespace qvar {

namespace fs = std::filesystem;

namespace {

constexpr const char* REQUIRED_FILES[] = {FONT_FILE, DIGITS_FILE, SPRITES_FILE, BONI_FILE};
constexpr std::string_view DEFAULT_XDG_DATA_DIRS = "/usr/local/share:/usr/share";

std::optional<std::string> environment(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr) return std::nullopt;
    return std::string(value);
}

// One spelling per folder: "a/./b/" and "a/b" are the same candidate.
std::string normal_dir(const fs::path& dir) {
    std::string text = dir.lexically_normal().string();
    if (text.size() > 1 && text.back() == '/') text.pop_back();
    return text;
}

void add_candidate(std::vector<std::string>& list, const fs::path& dir) {
    if (dir.empty()) return;
    std::string text = normal_dir(dir);
    if (std::find(list.begin(), list.end(), text) == list.end()) list.push_back(std::move(text));
}

// Each absolute folder of a colon-separated list; relative entries are invalid there.
void add_xdg_candidates(std::vector<std::string>& list, std::string_view dirs) {
    while (!dirs.empty()) {
        const size_t colon = dirs.find(':');
        const std::string_view entry = dirs.substr(0, colon);
        if (entry.starts_with('/')) add_candidate(list, fs::path(entry) / "qvar");
        dirs = colon == std::string_view::npos ? std::string_view() : dirs.substr(colon + 1);
    }
}

}  // namespace

DataSearchSources current_data_search_sources(const std::string& option) {
    return {option, environment("QVAR_DATA_DIR"), executable_dir(), environment("XDG_DATA_DIRS")};
}

std::vector<std::string> data_dir_candidates(const DataSearchSources& sources) {
    std::vector<std::string> list;
    add_candidate(list, sources.option);
    if (sources.env_data_dir) add_candidate(list, *sources.env_data_dir);
    add_candidate(list, sources.exe_dir);
    if (!sources.exe_dir.empty()) add_candidate(list, fs::path(sources.exe_dir) / ".." / "share" / "qvar");
    const bool xdg_set = sources.xdg_data_dirs && !sources.xdg_data_dirs->empty();
    add_xdg_candidates(list, xdg_set ? std::string_view(*sources.xdg_data_dirs) : DEFAULT_XDG_DATA_DIRS);
    return list;
}

bool holds_game_data(const std::string& dir) {
    std::error_code ec;
    return std::all_of(std::begin(REQUIRED_FILES), std::end(REQUIRED_FILES),
                       [&](const char* file) { return fs::is_regular_file(fs::path(dir) / file, ec); });
}

DataSearch find_data_dir(const std::vector<std::string>& candidates) {
    DataSearch search;
    for (const std::string& dir : candidates) {
        search.tried.push_back(dir);
        if (holds_game_data(dir)) {
            search.found = dir;
            break;
        }
    }
    return search;
}

std::string passed_over_note(const DataSearchSources& sources, const DataSearch& search) {
    const std::pair<const char*, std::string> named[] = {{"--data-dir", sources.option},
                                                         {"QVAR_DATA_DIR", sources.env_data_dir.value_or("")}};
    std::string note;
    for (const auto& [source, dir] : named) {
        if (dir.empty() || search.found.empty()) continue;
        const std::string normal = normal_dir(dir);
        const bool tried = std::find(search.tried.begin(), search.tried.end(), normal) != search.tried.end();
        if (tried && normal != search.found)
            note += "qvar: " + std::string(source) + " " + normal + " does not hold the game data; using " +
                    search.found + "\n";
    }
    return note;
}

std::string missing_data_message(const DataSearch& search) {
    std::string files;
    const size_t count = std::size(REQUIRED_FILES);
    for (size_t i = 0; i < count; ++i)
        files += std::string(i == 0 ? "" : i + 1 == count ? " and " : ", ") + REQUIRED_FILES[i];
    std::string folders;
    for (const std::string& dir : search.tried) folders += (folders.empty() ? "" : ", ") + dir;
    return "Missing data files: no folder holds " + files + " (looked in " + folders + ")";
}

}  // namespace qvar
