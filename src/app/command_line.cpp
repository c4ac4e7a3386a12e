// Command-line parsing and the help text.
#include "app/command_line.h"

#include <string_view>

#include "util/message_text.h"

namespace qvar {

namespace {

enum class Takes { Nothing, Value };

struct OptionDef {
    std::string_view name;
    Takes takes;
};

constexpr OptionDef OPTIONS[] = {
    {"--headless", Takes::Nothing}, {"--input", Takes::Value},    {"--frames-out", Takes::Value},
    {"--frames", Takes::Value},     {"--trace", Takes::Value},    {"--data-dir", Takes::Value},
    {"--user-dir", Takes::Value},   {"--fullscreen", Takes::Nothing}, {"--scale", Takes::Value},
    {"--help", Takes::Nothing},     {"--version", Takes::Nothing},
};

const OptionDef* find_option(std::string_view name) {
    for (const OptionDef& option : OPTIONS)
        if (option.name == name) return &option;
    return nullptr;
}

bool parse_scale(std::string_view text, int& scale) {
    if (text.empty() || text.size() > 2) return false;
    int v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
    }
    if (v < 1 || v > MAX_WINDOW_SCALE) return false;
    scale = v;
    return true;
}

// Stores one option's value; false with `error` set when the value is not acceptable.
bool store(CommandLine& cl, std::string_view name, std::string_view value, std::string& error) {
    if (name == "--headless") cl.headless = true;
    else if (name == "--fullscreen") cl.fullscreen = true;
    else if (name == "--input") cl.input_path = value;
    else if (name == "--frames-out") cl.frames_out = value;
    else if (name == "--trace") cl.trace_path = value;
    else if (name == "--data-dir") cl.data_dir = value;
    else if (name == "--user-dir") cl.user_dir = value;
    else if (name == "--frames") {
        cl.frames_given = true;
        if (!parse_frame_list(value, cl.frames, error)) return false;
    } else if (name == "--scale" && !parse_scale(value, cl.scale)) {
        error = "--scale needs a whole number from 1 to 16, not '" + printable(value) + "'";
        return false;
    }
    return true;
}

// The options that only make sense together.
bool check_combinations(const CommandLine& cl, std::string& error) {
    if (!cl.headless && (!cl.input_path.empty() || !cl.frames_out.empty() || cl.frames_given))
        error = "--input, --frames-out and --frames need --headless";
    else if (cl.headless && (cl.fullscreen || cl.scale != 0))
        error = "--fullscreen and --scale need a window; they cannot go with --headless";
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
        const OptionDef* option = find_option(name);
        if (option == nullptr)
            return fail(arg.starts_with("-") ? "unknown option '" + printable(name) + "'"
                                             : "unexpected argument '" + printable(arg) + "'");
        if (name == "--help") return ParsedCommandLine{CommandAction::Help, {}, {}};
        if (name == "--version") return ParsedCommandLine{CommandAction::Version, {}, {}};
        std::string_view value;
        if (option->takes == Takes::Nothing && eq != std::string_view::npos)
            return fail(printable(name) + " takes no value");
        if (option->takes == Takes::Value) {
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

std::string usage_text() {
    return "Usage: qvar [options]\n"
           "\n"
           "  --fullscreen        desktop full screen (the picture stays a whole-number scale)\n"
           "  --scale N           window at N times 320x200 (1 to 16); default: the largest that fits\n"
           "  --data-dir DIR      where lets.dat, nums.dat, qvar.dat, boni.dat and c2.dat are\n"
           "                      (default: the folder of the executable)\n"
           "  --user-dir DIR      where prefs.dat, saved.dat and hiscores.dat are kept\n"
           "                      (default: $XDG_DATA_HOME/qvar or ~/.local/share/qvar)\n"
           "  --trace FILE        write one line per game frame to FILE\n"
           "  --headless          run without a window, on a virtual clock\n"
           "  --input FILE        headless: play the input script FILE\n"
           "  --frames-out DIR    headless: write presented frames as PNG files into DIR\n"
           "  --frames LIST       headless: which frames, e.g. 1,50,200 or 10-20 or all\n"
           "  --help              show this text\n"
           "  --version           show the version\n";
}

}  // namespace qvar
