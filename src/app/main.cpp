// The qvar executable: parses the command line, picks a backend and runs the game.
#include <cstdio>
#include <exception>
#include <memory>

#include "app/command_line.h"
#include "app/program_runs.h"
#include "app/run_settings.h"
#include "store/settings.h"
#include "platform/sdl_platform.h"

namespace {

int run(const qvar::CommandLine& options) {
    if (options.headless) return qvar::run_headless(options);
    qvar::RunSettings settings = qvar::load_run_settings(options, true);
    qvar::SdlOptions sdl;
    sdl.fullscreen = settings.at_start.fullscreen;
    sdl.scale = settings.at_start.scale;
    std::unique_ptr<qvar::Platform> platform = qvar::make_sdl_platform(sdl);
    const int status = qvar::run_program(*platform, options);
    qvar::save_run_settings(settings, settings.at_start);
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    qvar::set_key_name_check(qvar::sdl_key_name_known);  // before any setting is read, --set included
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
