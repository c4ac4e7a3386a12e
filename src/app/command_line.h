// The qvar command line: its options, their parser and the help text.
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
    bool stats = false;       // --stats: frame statistics on stdout at exit
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

}  // namespace qvar
