// The qvar executable: parses the command line, picks a backend and runs the game.
#include <cstdio>
#include <exception>
#include <memory>

#include "app/command_line.h"
#include "app/program_runs.h"
#include "app/recorded_runs.h"
#include "platform/sdl_platform.h"

namespace {

int run(const qvar::CommandLine& options) {
    if (options.verify_scores) return qvar::verify_scores(options);
    if (!options.timedemo_path.empty()) return qvar::run_timedemo(options);
    if (options.headless) return qvar::run_headless(options);
    qvar::SdlOptions sdl;
    sdl.fullscreen = options.fullscreen;
    sdl.scale = options.scale;
    std::unique_ptr<qvar::Platform> platform = qvar::make_sdl_platform(sdl);
    return qvar::run_windowed(*platform, options);
}

}  // namespace

int main(int argc, char** argv) {
    const qvar::ParsedCommandLine parsed = qvar::parse_command_line(argc, argv);
    switch (parsed.action) {
        case qvar::CommandAction::Help: std::fputs(qvar::usage_text().c_str(), stdout); return 0;
        case qvar::CommandAction::Version: std::printf("qvar %s\n", qvar::QVAR_VERSION); return 0;
        case qvar::CommandAction::Error:
            std::fprintf(stderr, "qvar: %s\nTry 'qvar --help' for the options.\n", parsed.error.c_str());
            return 2;
        case qvar::CommandAction::Run: break;
    }
    try {
        return run(parsed.options);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "qvar: %s\n", e.what());
        return 1;
    }
}
