// Runs that make or play recordings: --record, --playback, --timedemo, --verify-scores and
// --playback-score, and the checks a recording must pass before it is played.
#pragma once

#include <cstdint>
#include <string>

#include "app/command_line.h"
#include "game/game.h"
#include "model/system.h"
#include "platform/recording.h"

namespace qvar {

// A hash of the five data files (name, size and bytes; a missing c2.dat counts as empty).
uint64_t data_files_hash(const std::string& data_dir);

// Whether a recording may be played by this program with this data; `why` is one line.
bool recording_fits(const RecordingHeader& header, uint64_t data_hash, std::string& why);

// Plays a single game's recording on `sys`, which must have its paths, recorder (with the
// playback set) and an open display. With `through_game_over` the game-over screens follow.
// Returns false with `error` set when the start state is damaged or a data file is missing.
bool replay_game(System& sys, bool through_game_over, GameOutcome& outcome, std::string& error);

// Loads the recording --playback or --playback-score names; false after a line on stderr.
bool load_playback(const CommandLine& options, RecordReader& reader);
// After a playback: says on stderr when the recording was cut short or did not fit.
void report_playback_end(const Recorder& recorder, uint64_t frames);

// --timedemo FILE: exit status 0, or 1 when the recording cannot be played.
int run_timedemo(const CommandLine& options);
// --verify-scores: 0 when no entry differs, 1 otherwise.
int verify_scores(const CommandLine& options);

}  // namespace qvar
