// Whole-file reads and atomic whole-file writes, and where the game's files live.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qvar {

struct Paths {
    std::string data_dir;  // read-only data files (lets.dat, nums.dat, qvar.dat, boni.dat, c2.dat)
    std::string user_dir;  // the player's files (prefs.dat, saved.dat, hiscores.dat)

    std::string data(const std::string& name) const;
    std::string user(const std::string& name) const;
};

// Reads a whole file; nullopt when it cannot be opened or read.
std::optional<std::vector<uint8_t>> read_file(const std::string& path);

// Writes a whole file atomically: a temporary file in the same folder, flushed, then renamed
// over the target. On any failure the old file is left untouched and false is returned.
bool write_file_atomic(const std::string& path, const std::vector<uint8_t>& bytes);

// Creates a folder and its parents; true when it exists afterwards.
bool make_dirs(const std::string& path);

// The folder of the running executable, or "." when it cannot be found.
std::string executable_dir();

// $XDG_DATA_HOME/qvar, else $HOME/.local/share/qvar, else ./qvar-data.
std::string default_user_dir();

}  // namespace qvar
