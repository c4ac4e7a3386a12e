// Reading, creating and updating qvar.conf; every write goes through a temporary file.
#include "store/settings_file.h"

#include <cstdlib>
#include <filesystem>
#include <utility>

#include "store/settings_text.h"
#include "util/files.h"

namespace qvar {

namespace fs = std::filesystem;

namespace {

// Far more than any settings file needs; a longer file is refused, not cut, so that a save
// never drops the lines past the limit.
constexpr size_t MAX_SETTINGS_BYTES = 1 << 20;

// Writes `text` as the whole file, making its folder first; false with `reason` on failure.
bool write_settings(const std::string& path, const std::string& text, std::string& reason) {
    const fs::path parent = fs::path(path).parent_path();
    if (!parent.empty() && !make_dirs(parent.string())) {
        reason = "cannot create the folder " + parent.string();
        return false;
    }
    FileResult written = write_file_atomic(path, std::vector<uint8_t>(text.begin(), text.end()));
    if (!written) reason = std::move(written.reason);
    return written.ok;
}

// The file's text (a regular file of at most MAX_SETTINGS_BYTES), or its problem.
FileRead read_settings(const std::string& path, std::string& text) {
    FileRead read = read_file(path, MAX_SETTINGS_BYTES, Oversize::Refuse);
    if (read.ok()) text.assign(read.bytes.begin(), read.bytes.end());
    return read;
}

}  // namespace

std::string default_settings_path() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg != nullptr && xdg[0] == '/') return (fs::path(xdg) / "qvar" / "qvar.conf").string();
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] != '\0') return (fs::path(home) / ".config" / "qvar" / "qvar.conf").string();
    return "qvar.conf";
}

SettingsFile load_settings_file(const std::string& path, bool create, std::vector<std::string>& notes) {
    SettingsFile file;
    file.path = path;
    std::string reason;
    const FileRead read = read_settings(path, file.text);
    if (read.problem == FileProblem::Missing) {
        if (!create) {
            notes.push_back(path + ": no such settings file; the defaults are used");
            return file;
        }
        file.text = default_settings_text();
        file.usable = write_settings(path, file.text, reason);
        if (!file.usable) notes.push_back(path + ": cannot write the settings file (" + reason + "); the defaults are used");
        return file;
    }
    if (!read.ok()) {
        notes.push_back(path + ": cannot read the settings file (" + read.reason + "); the defaults are used");
        return file;
    }
    file.usable = true;
    std::vector<SettingsProblem> problems;
    file.settings = parse_settings_text(file.text, Settings{}, problems);
    for (const SettingsProblem& p : problems) notes.push_back(path + ":" + std::to_string(p.line) + ": " + p.message);
    return file;
}

bool save_settings_changes(SettingsFile& file, const Settings& before, const Settings& after, std::string& reason) {
    if (!file.usable) return true;
    std::vector<std::pair<std::string, std::string>> changes;
    for (std::string_view name : changed_settings(before, after))
        changes.emplace_back(std::string(name), setting_text(after, name));
    if (changes.empty()) return true;
    std::string now;
    if (read_settings(file.path, now).ok()) file.text = std::move(now);  // keeps edits made meanwhile
    std::string text = updated_settings_text(file.text, changes);
    if (!write_settings(file.path, text, reason)) return false;
    file.text = std::move(text);
    return true;
}

std::string expand_home(const std::string& folder) {
    const char* home = std::getenv("HOME");
    if (folder.starts_with("~/") && home != nullptr && home[0] != '\0') return (fs::path(home) / folder.substr(2)).string();
    return folder;
}

}  // namespace qvar
