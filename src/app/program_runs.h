// The runs the command line starts: in a window on a given platform, or headless.
#pragma once

#include "app/command_line.h"
#include "platform/platform.h"

namespace qvar {

// Finds the data folder (app/data_search.h) and fills in the player's folder (created if
// missing), then runs the game on `platform`. Returns game_main's status, or 1 after a
// fatal error that lists every folder tried when none holds the data.
int run_program(Platform& platform, const CommandLine& options);

// A headless run: loads the script (exit status 2 on a faulty one, with every error on
// stderr), attaches frame capture, runs the game and reports what was written.
int run_headless(const CommandLine& options);

}  // namespace qvar
