// The qvar command line: its options, their parser and the help text.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/frame_capture.h"
#include "platform/platform.h"

namespace qvar {

// The version set once in CMakeLists.txt (project VERSION); --version prints it.
extern const char* const QVAR_VERSION;

struct CommandLine {
    bool headless = false;
    std::string input_path;   // --input: the headless run's script
    std::string frames_out;   // --frames-out: folder for captured frames
    bool frames_given = false;
    FrameSelection frames;    // --frames
    std::string trace_path;   // --trace: the game's per-frame trace
    std::string data_dir;     // --data-dir: the first folder the data search tries (app/data_search.h)
    std::string user_dir;     // --user-dir; empty: the player's data folder
    std::string config_path;  // --config; empty: the settings file's usual place
    // Settings for this run only, in command-line order, as (name, value): --fullscreen,
    // --windowed, --scale, --aspect and every --set. Each has been checked.
    std::vector<std::pair<std::string, std::string>> overrides;
    bool window_options = false;  // one of the options that only a window can use was given
    bool stats = false;       // --stats: frame statistics on stdout at exit
    std::string record_path;    // --record: the whole run's recording
    std::string playback_path;  // --playback: play this recording instead of taking input
    std::string timedemo_path;  // --timedemo: play headless as fast as possible and time it
    bool verify_scores = false;  // --verify-scores: replay every high score's recording
    int playback_score = 0;      // --playback-score: play place N's recording; 0: none

    // --playback or --playback-score: the run's input comes from a recording.
    bool plays_recording() const { return !playback_path.empty() || playback_score != 0; }
};

enum class CommandAction { Run, Help, Version, Error };

struct ParsedCommandLine {
    CommandAction action = CommandAction::Run;
    CommandLine options;
    std::string error;  // one line, for CommandAction::Error
};

// One option as --help and the manual page list it.
struct OptionInfo {
    std::string_view name;   // "--scale"
    std::string_view value;  // what its value is called ("N"); empty when it takes none
    std::string_view help;   // the --help text; '\n' starts a continuation line
};

// Every option, in the order --help lists them. The manual page (docs/qvar.6.in) lists the
// same names and values; a test holds the two together.
std::span<const OptionInfo> command_line_options();

// Parses argv[1 ..]. Accepts "--option value" and "--option=value". Never exits or prints.
ParsedCommandLine parse_command_line(int argc, const char* const* argv);

// The text --help prints, made from command_line_options().
std::string usage_text();

}  // namespace qvar
