// The recordings that prove the high scores: each kept game's recording in the recordings
// folder, and hiscores.rec, which links table entries (score and name) to them.
//
// hiscores.rec is text: the line "qvar score recordings 1", then one line per linked entry,
// best first: SCORE FILE NAME, where NAME is the name's bytes in hex ("-" when empty) and FILE
// a plain file name in the recordings folder. hiscores.dat keeps its own format untouched.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/recorder.h"
#include "store/high_score_file.h"
#include "util/files.h"

namespace qvar {

inline constexpr const char* SCORE_LINKS_FILE = "hiscores.rec";
inline constexpr const char* RECORDINGS_FOLDER = "recordings";
inline constexpr const char* RECORDING_SUFFIX = ".qvr";
inline constexpr size_t SCORE_LINKS_MAX_BYTES = 64 * 1024;

struct ScoreLink {
    int32_t score = 0;
    std::string name;  // the name's text, up to its terminator
    std::string file;  // a file name in the recordings folder
};

std::string recordings_folder(const Paths& paths);

// Parses the link file; lines that are damaged or name an unsafe file are skipped.
std::vector<ScoreLink> parse_score_links(const std::vector<uint8_t>& bytes);
std::vector<uint8_t> score_links_bytes(const std::vector<ScoreLink>& links);
// Reads hiscores.rec (missing or unreadable: no links).
std::vector<ScoreLink> read_score_links(const Paths& paths);

// For each place of `table`, the recording linked to its entry (same score and name, each
// link used once), as a full path; empty for an entry without one.
std::array<std::string, HIGH_SCORE_COUNT> recordings_by_place(const Paths& paths, const HighScoreTable& table,
                                                              const std::vector<ScoreLink>& links);

// Called by the game over once the score has been saved into hiscores.dat: ends the game's
// recording and links it to the entry. Under the folder lock, relinks against the table now
// on disk: a recording whose entry has left the table is removed, and hiscores.rec is
// rewritten atomically. Does nothing in a playback or when the game was not recorded.
FileResult keep_game_recording(Recorder& recorder, const Paths& paths, int32_t score, const NameBuffer& name);
// Ends the game's recording and removes its file: the score did not enter the table.
void discard_game_recording(Recorder& recorder);
// Called at start-up under the folder lock: removes the recordings of games whose program
// was killed before their game over (linked to no entry, made by a process that is gone).
void remove_orphan_recordings(const Paths& paths);

}  // namespace qvar
