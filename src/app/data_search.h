// Finding the folder of the game's read-only data: the option, the environment, beside the
// executable, a relocated install, then the system's data folders.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace qvar {

// Where the search may look, gathered once from the command line and the environment.
struct DataSearchSources {
    std::string option;                        // --data-dir; empty when not given
    std::optional<std::string> env_data_dir;   // $QVAR_DATA_DIR, when set
    std::string exe_dir;                       // the folder of the running executable
    std::optional<std::string> xdg_data_dirs;  // $XDG_DATA_DIRS, when set
};

// The sources of this run: `option` from --data-dir, the rest from the environment and
// /proc/self/exe.
DataSearchSources current_data_search_sources(const std::string& option);

// The folders to try, in order: --data-dir; $QVAR_DATA_DIR; the executable's folder (a build
// tree); ../share/qvar from it (an installed or relocated tree); each absolute folder of
// $XDG_DATA_DIRS (default /usr/local/share:/usr/share) followed by qvar/. Empty entries are
// left out and each folder is listed once.
std::vector<std::string> data_dir_candidates(const DataSearchSources& sources);

// True when `dir` holds every file the game cannot start without (lets.dat, nums.dat,
// qvar.dat and boni.dat; c2.dat is optional).
bool holds_game_data(const std::string& dir);

struct DataSearch {
    std::string found;               // the first folder that holds the data; empty if none
    std::vector<std::string> tried;  // every folder looked at, in order, up to `found`
};

// Tries the candidates in order and stops at the first that holds the data.
DataSearch find_data_dir(const std::vector<std::string>& candidates);

// A line for stderr for each folder the player named (--data-dir, $QVAR_DATA_DIR) that was
// passed over for a later folder, so that a mistyped folder does not go unnoticed; empty
// when none was, or when no folder holds the data (missing_data_message says it all then).
std::string passed_over_note(const DataSearchSources& sources, const DataSearch& search);

// The one-line reason for the fatal error when no folder holds the data; names the files
// and every folder tried.
std::string missing_data_message(const DataSearch& search);

}  // namespace qvar
