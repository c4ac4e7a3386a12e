// hiscores.dat: the 20-entry high-score table, its byte image and the placing rule.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "util/files.h"

namespace qvar {

inline constexpr int32_t HIGH_SCORE_COUNT = 20;
inline constexpr int32_t NAME_LENGTH = 50;        // bytes per name buffer, terminator included
inline constexpr int32_t NAME_MAX_CHARS = NAME_LENGTH - 1;
inline constexpr size_t HIGH_SCORE_RECORD = 54;   // 50 name bytes, then the score (LE int32)
inline constexpr size_t HIGH_SCORE_FILE_SIZE = HIGH_SCORE_COUNT * HIGH_SCORE_RECORD;
inline constexpr const char* HIGH_SCORE_FILE = "hiscores.dat";

using NameBuffer = std::array<char, NAME_LENGTH>;

// Best first; scores never increase down the table. Each name buffer keeps all 50 bytes as
// read, including whatever lies after the terminating zero, so a rewrite changes nothing.
struct HighScoreTable {
    std::array<NameBuffer, HIGH_SCORE_COUNT> names{};
    std::array<int32_t, HIGH_SCORE_COUNT> scores{};
};

// The file image: 20 records of 50 name bytes and the little-endian score.
std::vector<uint8_t> high_score_bytes(const HighScoreTable& table);

// Builds a table from a file image. Whole records are taken as they are; records the image
// does not hold in full stay empty with score 0. Never reads past `bytes`.
HighScoreTable parse_high_scores(const std::vector<uint8_t>& bytes);

// Reads hiscores.dat; a missing or unreadable file gives 20 empty names with score 0 (an
// unreadable one with a line on stderr).
HighScoreTable read_high_scores(const Paths& paths);

// Replaces hiscores.dat atomically with `table` under the folder lock; on failure the old
// file stays as it was.
FileResult write_high_scores(const Paths& paths, const HighScoreTable& table);

// Enters a new score under the folder lock: re-reads the table as it is on disk now (another
// instance may have saved meanwhile), places the score by the placing rule, and writes the
// table atomically. A score that no longer enters leaves the file alone.
FileResult save_high_score(const Paths& paths, int32_t score, const NameBuffer& name);

// Places a score into a table by the placing rule; false when it does not enter.
bool enter_high_score(HighScoreTable& table, int32_t score, const NameBuffer& name);

// The shown text of a name: up to its terminator, cut at 49 characters when a damaged file
// left it without one. Never reads past the buffer.
std::string_view name_text(const NameBuffer& name);

// Copies `from` into `to` as a zero-terminated text (at most 49 characters); the bytes of
// `to` after the new terminator are left as they were.
void copy_name(NameBuffer& to, const NameBuffer& from);

// Where `score` would enter: the number of entries with a strictly higher score, so an equal
// score goes above the entries it ties with. 20 means it does not enter.
int32_t high_score_place(const HighScoreTable& table, int32_t score);

// Makes room at `place` (0..19): entries from there move down one, the last is lost, and the
// name at `place` becomes empty (its score is left for the caller to set).
void open_high_score_slot(HighScoreTable& table, int32_t place);

}  // namespace qvar
