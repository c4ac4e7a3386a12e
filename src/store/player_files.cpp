// Creating the player's files with their defaults, each only where none exists yet, and
// clearing away what killed writers left.
#include "store/player_files.h"

#include <filesystem>
#include <system_error>

#include "gfx/palette.h"
#include "store/high_score_file.h"
#include "store/prefs_file.h"
#include "store/progress_file.h"
#include "store/score_links.h"
#include "util/folder_lock.h"

namespace qvar {

namespace {

// Writes the file only when nothing exists at its path, so a player's own file, even a
// damaged one, is never replaced.
bool create_if_missing(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::error_code ec;
    const auto status = std::filesystem::symlink_status(path, ec);
    if (std::filesystem::exists(status)) return true;
    if (ec && ec != std::errc::no_such_file_or_directory) return false;
    return write_file_atomic(path, bytes).ok;
}

}  // namespace

std::vector<uint8_t> default_prefs_bytes() { return gamma_bytes(DEFAULT_GAMMA); }

std::vector<uint8_t> default_saved_bytes() { return std::vector<uint8_t>(PROGRESS_ENTRIES, 0); }

std::vector<uint8_t> default_hiscores_bytes() {
    return std::vector<uint8_t>(HIGH_SCORE_FILE_SIZE, 0);
}

bool ensure_user_files(const Paths& paths) {
    if (paths.tap != nullptr && paths.tap->replaying()) return true;  // a playback touches no file
    if (!make_dirs(paths.user_dir)) return false;
    const FolderLock lock(paths.user_dir);
    remove_stale_temporaries(paths.user_dir, {PREFS_FILE, PROGRESS_FILE, HIGH_SCORE_FILE, SCORE_LINKS_FILE}, lock.held());
    remove_orphan_recordings(paths);
    bool ok = create_if_missing(paths.user(PREFS_FILE), default_prefs_bytes());
    ok = create_if_missing(paths.user(PROGRESS_FILE), default_saved_bytes()) && ok;
    ok = create_if_missing(paths.user(HIGH_SCORE_FILE), default_hiscores_bytes()) && ok;
    return ok;
}

}  // namespace qvar
