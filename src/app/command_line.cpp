// Command-line parsing and the help text.
#include "app/command_line.h"

#include <string_view>

#include "store/settings.h"
#include "util/message_text.h"

namespace qvar {

#ifndef QVAR_VERSION_STRING
#error "QVAR_VERSION_STRING comes from project(... VERSION ...) in CMakeLists.txt"
#endif
const char* const QVAR_VERSION = QVAR_VERSION_STRING;

namespace {

// Every option, in --help's order. A value name marks an option that takes a value.
constexpr OptionInfo OPTIONS[] = {
    {"--config", "FILE", "the settings file (default: $XDG_CONFIG_HOME/qvar/qvar.conf or\n"
                         "~/.config/qvar/qvar.conf; written with the defaults when missing)"},
    {"--fullscreen", "", "desktop full screen for this run (the setting fullscreen)"},
    {"--windowed", "", "a window for this run, even when the settings say full screen"},
    {"--scale", "N", "open the window at N times 320x200 (1 to 16) for this run"},
    {"--aspect", "A", "square (sharp square pixels) or 4:3 (the frame at 4:3) for this run"},
    {"--set", "NAME=VALUE", "any setting of the settings file, for this run only;\n"
                            "may be given more than once"},
    {"--data-dir", "DIR", "look for the game's data (lets.dat, nums.dat, qvar.dat, boni.dat\n"
                          "and c2.dat) in DIR first; then in $QVAR_DATA_DIR, the folder of\n"
                          "the executable, ../share/qvar from there, each $XDG_DATA_DIRS/qvar"},
    {"--user-dir", "DIR", "where prefs.dat, saved.dat and hiscores.dat are kept\n"
                          "(default: $XDG_DATA_HOME/qvar or ~/.local/share/qvar)"},
    {"--trace", "FILE", "write one line per game frame to FILE"},
    {"--stats", "", "at exit, print frame timing and processor use"},
    {"--headless", "", "run without a window, on a virtual clock"},
    {"--input", "FILE", "headless: play the input script FILE"},
    {"--frames-out", "DIR", "headless: write presented frames as PNG files into DIR"},
    {"--frames", "LIST", "headless: which frames, e.g. 1,50,200 or 10-20 or all"},
    {"--record", "FILE", "record everything the game receives into FILE"},
    {"--playback", "FILE", "play the recording FILE (with --headless: as fast as possible)"},
    {"--timedemo", "FILE", "play the recording FILE headless without output and print\n"
                           "frames, seconds and frames per second"},
    {"--verify-scores", "", "replay the recording of every high score and compare scores"},
    {"--playback-score", "N", "play the recording of place N (1 to 20) of the high scores"},
    {"--help", "", "show this text"},
    {"--version", "", "show the version"},
};

const OptionInfo* find_option(std::string_view name) {
    for (const OptionInfo& option : OPTIONS)
        if (option.name == name) return &option;
    return nullptr;
}

// Checks a setting for this run the way the settings file would and keeps it.
bool add_override(CommandLine& cl, std::string_view option, std::string_view name, std::string_view value,
                  std::string& error) {
    Settings check;
    if (!apply_setting(check, name, value, error)) {
        error = std::string(option) + ": " + error;
        return false;
    }
    cl.overrides.emplace_back(std::string(name), std::string(value));
    return true;
}

// --set NAME=VALUE
bool add_set(CommandLine& cl, std::string_view value, std::string& error) {
    const size_t eq = value.find('=');
    if (eq == std::string_view::npos || eq == 0) {
        error = "--set needs NAME=VALUE, not '" + printable(value) + "'";
        return false;
    }
    return add_override(cl, "--set", value.substr(0, eq), value.substr(eq + 1), error);
}

// A whole number from 1 to `most` (at most two digits).
bool parse_small(std::string_view text, int most, int& out) {
    if (text.empty() || text.size() > 2) return false;
    int v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
    }
    if (v < 1 || v > most) return false;
    out = v;
    return true;
}

bool parse_place(std::string_view text, int& place) { return parse_small(text, 20, place); }

// The options that replay recordings, and how many of them were given.
int replay_modes(const CommandLine& cl) {
    return int{!cl.playback_path.empty()} + int{!cl.timedemo_path.empty()} + int{cl.verify_scores} +
           int{cl.playback_score != 0};
}

// Stores one option's value; false with `error` set when the value is not acceptable.
bool store(CommandLine& cl, std::string_view name, std::string_view value, std::string& error) {
    const bool window_option = name == "--fullscreen" || name == "--windowed" || name == "--scale" || name == "--aspect";
    cl.window_options = cl.window_options || window_option;
    if (name == "--headless") cl.headless = true;
    else if (name == "--fullscreen") return add_override(cl, name, "fullscreen", "yes", error);
    else if (name == "--windowed") return add_override(cl, name, "fullscreen", "no", error);
    else if (name == "--scale") return add_override(cl, name, "scale", value, error);
    else if (name == "--aspect") return add_override(cl, name, "aspect", value, error);
    else if (name == "--set") return add_set(cl, value, error);
    else if (name == "--config") cl.config_path = value;
    else if (name == "--stats") cl.stats = true;
    else if (name == "--input") cl.input_path = value;
    else if (name == "--frames-out") cl.frames_out = value;
    else if (name == "--trace") cl.trace_path = value;
    else if (name == "--data-dir") cl.data_dir = value;
    else if (name == "--user-dir") cl.user_dir = value;
    else if (name == "--record") cl.record_path = value;
    else if (name == "--playback") cl.playback_path = value;
    else if (name == "--timedemo") cl.timedemo_path = value;
    else if (name == "--verify-scores") cl.verify_scores = true;
    else if (name == "--playback-score" && !parse_place(value, cl.playback_score)) {
        error = "--playback-score needs a place from 1 to 20, not '" + printable(value) + "'";
        return false;
    }
    else if (name == "--frames") {
        cl.frames_given = true;
        if (!parse_frame_list(value, cl.frames, error)) return false;
    }
    return true;
}

// The options that only make sense together.
bool check_combinations(const CommandLine& cl, std::string& error) {
    if (!cl.headless && (!cl.input_path.empty() || !cl.frames_out.empty() || cl.frames_given))
        error = "--input, --frames-out and --frames need --headless";
    else if (cl.headless && cl.window_options)
        error = "--fullscreen, --windowed, --scale and --aspect need a window; they cannot go with --headless";
    else if (replay_modes(cl) > 1)
        error = "--playback, --timedemo, --verify-scores and --playback-score each run alone";
    else if (replay_modes(cl) > 0 && (!cl.record_path.empty() || !cl.input_path.empty()))
        error = "a playback takes its input from the recording; it cannot go with --record or --input";
    else if ((!cl.timedemo_path.empty() || cl.verify_scores) && (cl.window_options || !cl.frames_out.empty()))
        error = "--timedemo and --verify-scores run headless without output";
    else if (cl.frames_given != !cl.frames_out.empty())
        error = "--frames-out and --frames go together: a folder and the frames to write into it";
    return error.empty();
}

}  // namespace

ParsedCommandLine parse_command_line(int argc, const char* const* argv) {
    ParsedCommandLine parsed;
    auto fail = [&parsed](std::string message) {
        parsed.action = CommandAction::Error;
        parsed.error = std::move(message);
        return parsed;
    };
    for (int i = 1; i < argc; ++i) {
        std::string_view arg = argv[i] != nullptr ? argv[i] : "";
        size_t eq = arg.find('=');
        std::string_view name = arg.substr(0, eq);
        const OptionInfo* option = find_option(name);
        if (option == nullptr)
            return fail(arg.starts_with("-") ? "unknown option '" + printable(name) + "'"
                                             : "unexpected argument '" + printable(arg) + "'");
        if (name == "--help") return ParsedCommandLine{CommandAction::Help, {}, {}};
        if (name == "--version") return ParsedCommandLine{CommandAction::Version, {}, {}};
        std::string_view value;
        if (option->value.empty() && eq != std::string_view::npos)
            return fail(printable(name) + " takes no value");
        if (!option->value.empty()) {
            if (eq != std::string_view::npos) value = arg.substr(eq + 1);
            else if (i + 1 < argc && argv[i + 1] != nullptr && !std::string_view(argv[i + 1]).starts_with("--"))
                value = argv[++i];
            if (value.empty()) return fail(printable(name) + " needs a value");
        }
        std::string error;
        if (!store(parsed.options, name, value, error)) return fail(error);
    }
    std::string error;
    if (!check_combinations(parsed.options, error)) return fail(error);
    return parsed;
}

std::span<const OptionInfo> command_line_options() { return OPTIONS; }

std::string usage_text() {
    constexpr size_t HELP_COLUMN = 22;
    std::string text = "Usage: qvar [options]\n\n";
    for (const OptionInfo& option : OPTIONS) {
        std::string line(2, ' ');
        line.append(option.name);
        if (!option.value.empty()) line.append(" ").append(option.value);
        if (line.size() + 2 > HELP_COLUMN) {  // a long option gets its help on the next line
            text.append(line).append("\n");
            line.clear();
        }
        line.resize(HELP_COLUMN, ' ');
        std::string_view help = option.help;
        for (size_t end = help.find('\n'); end != std::string_view::npos; end = help.find('\n')) {
            text.append(line).append(help.substr(0, end)).append("\n");
            line.assign(HELP_COLUMN, ' ');
            help.remove_prefix(end + 1);
        }
        text.append(line).append(help).append("\n");
    }
    text.append(
        "\nIn the window: Alt+Enter or F11 switches full screen, F12 saves a screenshot; a game\n"
        "pauses when the window loses the focus. The game keys and the window live in the\n"
        "settings file, which lists every setting with its values. Gamepads work everywhere.\n"
        "'man qvar' and the README describe the controls and the settings.\n");
    return text;
}

}  // namespace qvar
