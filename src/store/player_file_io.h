// Reading and rewriting one player file: bounded reads with a fallback, and saves that take
// the folder lock, merge with what is on disk now and write atomically.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "util/files.h"

namespace qvar {

// Reads the player file `name` for use: at most `size` bytes, since every player file's format
// ignores what lies past its size. A missing file gives no bytes. A file that cannot be read
// (a folder in its place, no permission, an I/O error) also gives no bytes, after one line on
// stderr naming the file, the reason and `fallback` (what the game uses instead).
std::vector<uint8_t> read_player_file(const Paths& paths, const char* name, size_t size, const char* fallback);

// Builds a file's new content from what is on disk now (empty when the file is missing);
// nullopt when nothing needs writing.
using MergeBytes = std::function<std::optional<std::vector<uint8_t>>(const std::vector<uint8_t>& on_disk)>;

// Rewrites the player file `name` under the folder lock: re-reads it, lets `merge` build the
// new content, and writes that atomically. A file on disk that cannot be read is never
// replaced, since its content would be lost: that fails like a failed write, and the old
// file stays as it was.
FileResult save_player_file(const Paths& paths, const char* name, size_t size, const MergeBytes& merge);

// Reports a failed save: one line on stderr with the file and the reason. `what` names the
// content for the player ("the high scores"); the caller shows the player a notice too.
void report_save_failure(const Paths& paths, const char* name, const char* what, const FileResult& result);

// The notice for the window: "Could not save the high scores: disk full".
std::string save_failure_notice(const char* what, const FileResult& result);

}  // namespace qvar
