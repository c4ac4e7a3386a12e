// The runs the command line starts: in a window on a given platform, or headless.
#pragma once

#include "app/command_line.h"
#include "platform/platform.h"
#include "platform/recording.h"

namespace qvar {

// Finds the data folder (app/data_search.h) and fills in the player's folder (created if
// missing), then runs the game on `platform`. Returns game_main's status, or 1 after a
// fatal error that lists every folder tried when none holds the data. With --record the
// whole run is recorded; with `playback` the recording is played instead of taking input
// (refused with one line on stderr and status 1 when it does not fit). Every game is
// recorded into the player's folder for the high-score table.
int run_program(Platform& platform, const CommandLine& options, RecordReader* playback = nullptr);
// A windowed run, with the recording --playback or --playback-score names when given.
int run_windowed(Platform& platform, const CommandLine& options);

// A headless run: loads the script (exit status 2 on a faulty one, with every error on
// stderr), attaches frame capture, runs the game and reports what was written.
int run_headless(const CommandLine& options);

}  // namespace qvar
