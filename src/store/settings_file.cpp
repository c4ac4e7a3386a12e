// Reading, creating and updating qvar.conf; every write goes through a temporary file.
#include "store/settings_file.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "store/settings_text.h"
#include "util/files.h"

namespace qvar {

namespace fs = std::filesystem;

namespace {

// Far more than any settings file needs; a bigger file is not one.
constexpr uintmax_t MAX_SETTINGS_BYTES = 1 << 20;

std::string reason_of_errno(const char* otherwise) { return errno != 0 ? std::strerror(errno) : otherwise; }

// Writes `text` as the whole file, making its folder first; false with `reason` on failure.
bool write_settings(const std::string& path, const std::string& text, std::string& reason) {
    const fs::path parent = fs::path(path).parent_path();
    errno = 0;
    if (!parent.empty() && !make_dirs(parent.string())) {
        reason = "cannot create the folder " + parent.string();
        return false;
    }
    errno = 0;
    if (write_file_atomic(path, std::vector<uint8_t>(text.begin(), text.end()))) return true;
    reason = reason_of_errno("it cannot be written");
    return false;
}

// The file's text, or false with the reason it cannot be read.
bool read_settings(const std::string& path, std::string& text, std::string& reason) {
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (!fs::is_regular_file(status)) {
        reason = "it is not a file";
        return false;
    }
    if (fs::file_size(path, ec) > MAX_SETTINGS_BYTES) {
        reason = "it is larger than 1 MB";
        return false;
    }
    errno = 0;
    auto bytes = read_file(path);
    if (!bytes) {
        reason = reason_of_errno("it cannot be read");
        return false;
    }
    text.assign(bytes->begin(), bytes->end());
    return true;
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
    std::error_code ec;
    std::string reason;
    if (fs::symlink_status(path, ec).type() == fs::file_type::not_found) {
        if (!create) {
            notes.push_back(path + ": no such settings file; the defaults are used");
            return file;
        }
        file.text = default_settings_text();
        file.usable = write_settings(path, file.text, reason);
        if (!file.usable) notes.push_back(path + ": cannot write the settings file (" + reason + "); the defaults are used");
        return file;
    }
    if (!read_settings(path, file.text, reason)) {
        notes.push_back(path + ": cannot read the settings file (" + reason + "); the defaults are used");
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
    std::string now, why;
    if (read_settings(file.path, now, why)) file.text = std::move(now);  // keeps edits made meanwhile
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
