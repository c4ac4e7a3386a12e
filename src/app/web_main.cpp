// The browser build's entry point. The page passes a command line (the data folder packed
// into the build, the player's folder kept in the browser's storage, and for its tests a
// trace); the game then runs on the page's canvas until Exit. Also the page's hooks that
// play an input script or a recording headless and fast, for comparing a browser run with a
// native one.
#include <cstdio>
#include <exception>

#include "app/command_line.h"
#include "app/program_runs.h"
#include "platform/web_platform.h"

namespace {

constexpr const char* WEB_DATA_DIR = "/data";      // where the build packs the data files
constexpr const char* WEB_USER_DIR = "/player";    // mounted on the browser's storage

int run_in_page(qvar::CommandLine options) {
    if (options.data_dir.empty()) options.data_dir = WEB_DATA_DIR;
    if (options.user_dir.empty()) options.user_dir = WEB_USER_DIR;
    qvar::mount_persistent_folder(options.user_dir);
    std::unique_ptr<qvar::Platform> platform = qvar::make_web_platform();
    return qvar::run_program(*platform, options);
}

// A headless run of `options` (a script or a playback) with the packed data files.
int run_headless_in_page(qvar::CommandLine options, const char* trace_path, const char* user_dir) {
    options.headless = true;
    options.trace_path = trace_path;
    options.user_dir = user_dir;
    options.data_dir = WEB_DATA_DIR;
    try {
        return qvar::run_headless(options);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "qvar: %s\n", e.what());
        return 1;
    }
}

}  // namespace

// Plays the input script at `script_path` as `qvar --headless --input` would, with the
// player's files in `user_dir` (a fresh folder gives a fresh player) and the trace written
// to `trace_path`. Runs to the end without yielding to the browser; returns the exit status.
extern "C" int qvar_web_scripted_run(const char* script_path, const char* trace_path, const char* user_dir) {
    qvar::CommandLine options;
    options.input_path = script_path;
    return run_headless_in_page(options, trace_path, user_dir);
}

// Plays the recording at `recording_path` as `qvar --headless --playback` would, the trace
// written to `trace_path`; `user_dir` is only a folder to run in, since a playback reads what
// the recorded run read. A recording that does not fit is refused with one line on stderr and
// status 1. Runs to the end without yielding to the browser; returns the exit status.
extern "C" int qvar_web_playback_run(const char* recording_path, const char* trace_path, const char* user_dir) {
    qvar::CommandLine options;
    options.playback_path = recording_path;
    return run_headless_in_page(options, trace_path, user_dir);
}

int main(int argc, char** argv) {
    const qvar::ParsedCommandLine parsed = qvar::parse_command_line(argc, argv);
    int status = 2;
    if (parsed.action == qvar::CommandAction::Run) {
        try {
            status = run_in_page(parsed.options);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "qvar: %s\n", e.what());
            status = 1;
        }
    } else {
        std::fprintf(stderr, "qvar: the page's command line was refused: %s\n", parsed.error.c_str());
    }
    qvar::show_program_end(status);
    return status;
}
