// The qvar command line: its options, their parser, the help text, and the runs they start.
#pragma once

#include <string>

#include "platform/frame_capture.h"
#include "platform/platform.h"

namespace qvar {

inline constexpr const char* QVAR_VERSION = "1.0.0";
inline constexpr int MAX_WINDOW_SCALE = 16;

struct CommandLine {
    bool headless = false;
    std::string input_path;   // --input: the headless run's script
    std::string frames_out;   // --frames-out: folder for captured frames
    bool frames_given = false;
    FrameSelection frames;    // --frames
    std::string trace_path;   // --trace: the game's per-frame trace
    std::string data_dir;     // --data-dir; empty: beside the executable
    std::string user_dir;     // --user-dir; empty: the player's data folder
    bool fullscreen = false;
    int scale = 0;            // --scale; 0: the largest that fits
};

enum class CommandAction { Run, Help, Version, Error };

struct ParsedCommandLine {
    CommandAction action = CommandAction::Run;
    CommandLine options;
    std::string error;  // one line, for CommandAction::Error
};

// Parses argv[1 ..]. Accepts "--option value" and "--option=value". Never exits or prints.
ParsedCommandLine parse_command_line(int argc, const char* const* argv);

// The text --help prints.
std::string usage_text();

// Fills in the default folders (data beside the executable, the player's folder, created
// if missing) and runs the game on `platform`. Returns game_main's status.
int run_program(Platform& platform, const CommandLine& options);

// A headless run: loads the script (exit status 2 on a faulty one, with every error on
// stderr), attaches frame capture, runs the game and reports what was written.
int run_headless(const CommandLine& options);

}  // namespace qvar
